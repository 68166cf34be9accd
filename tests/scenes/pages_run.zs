# Run starts the installed program through the device's opener.
wait-text Sign in
softkey left
wait-text Main menu
idle
tap-text My apps
wait-text Run
idle
tap-text Run
idle
quit
