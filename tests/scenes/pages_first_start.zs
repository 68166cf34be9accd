# A fresh device: the demo account signs in and is remembered, and the first start's settings
# lead on to the main menu. Afterwards (pages_first_start.after) an older revision of Notes is
# installed on the device by hand, as another installer would leave it, with the revision
# Zentri records.
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
softkey right
wait-text Top apps
idle
quit
