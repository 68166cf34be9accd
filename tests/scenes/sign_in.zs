# Sign in with the demo account on a fresh device; the first start goes through the settings.
wait-text Sign in
shot login.png
dump login.txt
tap-edit 1
type demo
tap-edit 2
type demo1234
softkey left
wait-text Remember*
shot remember.png
softkey left
idle
shot after.png
quit
