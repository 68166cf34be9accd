# A new account: refused fields first, then the registration; the activation mail goes out.
wait-text Sign in
tap-text Register
wait-text New account
idle
tap-edit 1
type newuser
tap-edit 2
type newuser@example
tap-edit 3
type secret12
tap-edit 4
type secret12
softkey right
wait-text Please enter a valid e-mail address.
softkey left
idle
tap-edit 2
type .org
tap-edit 4
type 3
softkey right
wait-text The passwords do not match*
softkey left
idle
tap-edit 4
key backspace
softkey right
wait-text Your account has been created*
shot registered.png
softkey left
wait-text No account yet?
idle
tap-edit 1
type newuser
tap-edit 2
type secret12
softkey left
wait-text Your account has not been activated yet.*
shot not_activated.png
softkey right
idle
expect-text No account yet?
