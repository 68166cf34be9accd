# Remove in My apps asks first; the row shows the removal and goes.
wait-text Sign in
softkey left
wait-text Main menu
idle
tap-text My apps
wait-text In the catalogue
idle
tap-text Remove
wait-text Remove Notes from this device?
softkey right
idle
expect-text Remove
tap-text Remove
wait-text Remove Notes from this device?
softkey left
idle
expect-no-text Notes
shot uninstalled.png
quit
