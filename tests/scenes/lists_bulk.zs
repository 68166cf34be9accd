# A long category: flings through it end at its bottom, with the last application in sight.
# The service runs with --bulk-category (see CMakeLists.txt); sorted by age, the last listed
# application is the one with the highest number.
wait-text Sign in
softkey left
wait-text Main menu
idle
tap-text Catalogue
wait-text Games(*
idle
drag 240 500 240 150 1500
idle
tap-text Bulk listing(*
wait-text Newest
idle
shot bulk-top.png
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
idle
shot bulk-bottom.png
dump bulk-bottom.txt
expect-text "Fuzzy Atlas 00199"
expect-text "Brisk Sketch 00200"
quit
