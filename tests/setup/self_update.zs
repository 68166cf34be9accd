# A freshly installed client (revision 12) signs in; the catalogue holds Zentri at revision 13,
# so the client asks once whether to update itself. Yes opens My apps, where the update is
# downloaded and installed over the running client.
wait-text Sign in
tap-edit 1
type demo
tap-edit 2
type demo1234
softkey left
wait-text Remember*
softkey left
# A first start goes through the settings; Next leads to the main menu, which checks the
# installed applications against the catalogue.
wait-text Settings
idle
softkey right
wait-text A new version of Zentri (1.3)* 30000
idle
shot 1-question.png
softkey left
wait-text My apps
wait-text Zentri
# The row is busy (downloading, then installing) until the installer has returned; then its
# buttons come back, without Update: the installed revision is the catalogue's now.
wait-text Run 60000
idle
expect-no-text The application could not be installed*
expect-no-text Update
expect-no-text A new version of Zentri*
shot 2-updated.png
quit
