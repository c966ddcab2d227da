# Sources of this component are listed here.
