# The next start of the updated client: signed in with the remembered credentials, it finds
# its own revision equal to the catalogue's and asks nothing; My apps shows Zentri without an
# update.
wait-text Sign in
softkey left
wait-text Main menu
idle
wait 2000
idle
expect-no-text A new version of Zentri*
tap-text My apps
wait-text Zentri
wait-text Run 30000
idle
expect-no-text Update
expect-no-text A new version of Zentri*
shot 3-next-start.png
quit
