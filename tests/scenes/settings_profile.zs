# One feature switched off: the main menu sends a new configuration, and the catalogue the
# service offers follows the profile (see the .after). Leaving the settings unchanged sends
# nothing.
wait-text Sign in
softkey left
wait-text Top apps
idle
tap-text Settings
wait-text Keypad
idle
tap-text Keypad
idle
shot keypad_off.png
softkey left
wait-text Top apps
idle
expect-no-text Error
tap-text Settings
wait-text Keypad
idle
softkey left
# A configuration would show the loading strip from the moment the main menu is back.
wait 300
expect-no-text Loading...
idle
expect-no-text Error
shot back_unchanged.png
quit
