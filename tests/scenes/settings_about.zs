# The About scene from the main menu's left soft key: its texts, and a link handed to the
# device's opener.
wait-text Sign in
softkey left
wait-text Top apps
idle
softkey left
wait-text Help and feedback:
idle
shot about.png
dump about.txt
expect-text Zentri
expect-text Find, install and*
expect-text Thank you for using Zentri!*
expect-text Main menu
# Both links begin so; the help link is drawn last, so it is the one found.
tap-text http://127.0.0.1:*
idle
softkey left
wait-text Top apps
idle
quit
