# Printing is listed here.
