# The tab row control is listed here.
