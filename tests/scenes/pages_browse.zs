# An installed application's page from My apps: details with the buttons its state allows,
# both screenshots, the reviews, and a review of our own (refused without stars, then sent
# with four stars and two lines; it is listed afterwards).
wait-text Sign in
softkey left
wait-text Main menu
idle
tap-text My apps
wait-text In the catalogue
idle
shot my_apps.png
tap-text Notes
wait-text Description
idle
shot details.png
expect-text Run
expect-text Remove
expect-text Update
expect-text Brightleaf
drag 240 500 240 150 800
idle
shot details_lower.png
expect-text Screenshots (2)
expect-text Reviews (2)
tap-text Screenshots (2)
wait-text Screenshots 1:
idle
shot screenshots_portrait.png
drag 240 500 240 100 800
idle
expect-text Screenshots 2:
shot screenshots_landscape.png
softkey left
idle
tap-text Reviews (2)
wait-text Crashed once, otherwise fine.
idle
shot reviews.png
softkey right
wait-text Your rating:
idle
softkey right
wait-text Please rate the application*
shot review_without_stars.png
softkey left
idle
# The fourth star (the stars lie in the second row of the table, 52 pixels each).
tap 205 172
tap-edit 1
type Clear and quick.
key enter
type Second line
idle
shot review_written.png
softkey right
wait-text Thank you*
softkey left
wait-text Clear and quick.*
idle
shot reviews_with_ours.png
softkey left
wait-text Description
idle
drag 240 500 240 150 800
idle
expect-text Reviews (3)
quit
