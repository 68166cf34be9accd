# A fresh device has no settings file: after the sign-in the settings come first, in their
# first-start form, and their right soft key leads on to the main menu.
wait-text Sign in
tap-edit 1
type demo
tap-edit 2
type demo1234
softkey left
wait-text Remember*
softkey left
wait-text Detect automatically
idle
shot first_start.png
dump first_start.txt
expect-text Settings
expect-text Sign in
expect-text English
drag 240 500 240 100 2000
idle
shot first_start_profile.png
dump first_start_profile.txt
expect-text VGA(480x640)
expect-text Windows Mobile 6.5 Professional
drag 240 500 240 100 2000
drag 240 500 240 100 2000
idle
shot first_start_features.png
expect-text GPS
softkey right
wait-text Top apps
idle
expect-no-text Error
shot main_menu.png
quit
