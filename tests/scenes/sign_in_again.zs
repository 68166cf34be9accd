# The next start: the remembered credentials are filled in, sign-in goes straight to the main
# menu, which shows no home icon; exit asks first.
wait-text Sign in
expect-text Sign in
softkey left
wait-text Main menu
idle
shot main_menu.png
dump main_menu.txt
softkey right
wait-text Do you want to exit*
shot exit_question.png
softkey right
idle
expect-text Main menu
softkey right
wait-text Do you want to exit*
softkey left
