# After the activation link: the new account signs in (not remembered), first start settings.
wait-text Sign in
tap-edit 1
type newuser
tap-edit 2
type secret12
softkey left
wait-text Remember*
softkey right
wait-text Settings
idle
shot activated_first_start.png
