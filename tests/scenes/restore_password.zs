# The password reminder: an empty name is refused, the demo account's mail is sent.
wait-text Sign in
tap-text Forgot password?
wait-text Password reminder
idle
softkey right
wait-text Please fill in all fields*
softkey left
idle
tap-edit 1
type demo
softkey right
wait-text A password reminder has been sent*
shot reminder_sent.png
softkey left
wait-text No account yet?
