# A fresh device: a wrong password shows the service's message; the demo account signs in, the
# credentials are remembered, and the first start goes through the settings.
wait-text Sign in
shot login.png
tap-edit 1
type demo
tap-edit 2
type wrong
softkey left
wait-text Error
idle
shot wrong_password.png
softkey left
idle
tap-edit 2
key backspace
key backspace
key backspace
key backspace
key backspace
type demo1234
softkey left
wait-text Remember*
softkey left
wait-text Settings
idle
shot first_start_settings.png
quit
