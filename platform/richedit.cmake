# The rich text control is listed here.
