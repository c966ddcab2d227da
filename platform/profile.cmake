# The settings file layer (profile.h) is added here together with its sources.
