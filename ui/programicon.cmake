# The program icon is listed here.
