# From its page Notes is removed (My apps then lists nothing and the page offers Install), then
# installed again from the page after the question with the download size; My apps follows the
# download and the install.
wait-text Sign in
softkey left
wait-text Main menu
idle
tap-text My apps
wait-text In the catalogue
idle
tap-text Notes
wait-text Description
idle
tap-text Remove
wait-text Remove Notes from this device?
softkey left
wait-text Main menu
idle
expect-no-text Notes
expect-no-text In the catalogue
shot removed.png
softkey left
wait-text Install
idle
expect-no-text Remove
expect-no-text Run
shot install_offered.png
tap-text Install
wait-text Install Notes on this device? Download size:*
shot install_question.png
softkey left
wait-text In progress
wait 400
shot install_progress.png
wait-text In the catalogue
idle
expect-text Run
shot installed.png
quit
