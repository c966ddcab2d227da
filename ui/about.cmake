# Sources of this part of the user interface are listed here.
