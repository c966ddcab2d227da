# Regional date and time settings are listed here.
