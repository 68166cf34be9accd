# My apps offers the newer revision of Notes; the update asks first with the download size,
# shows its progress in the row and ends with the row's buttons back, without Update.
wait-text Sign in
softkey left
wait-text Main menu
idle
tap-text My apps
wait-text In the catalogue
idle
tap-text Update
wait-text Update to Notes 2.1? Download size:*
shot update_question.png
softkey left
wait-text In progress
wait 400
shot update_progress.png
wait-text Run
idle
expect-no-text Update
expect-no-text In progress
shot updated.png
quit
