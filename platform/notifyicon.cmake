# The notification-area icon layer is added here.
