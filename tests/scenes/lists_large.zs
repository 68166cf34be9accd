# A category of 10000 applications: the list shows at once, flings, and filters and sorts the
# whole answer on the device.
wait-text Sign in
softkey left
wait-text Main menu
idle
tap-text Catalogue
wait-text Games(*
idle
drag 240 500 240 150 1500
idle
expect-text Bulk listing(10000)
tap-text Bulk listing(*
wait-text Newest
idle
shot large-top.png
expect-text "Rapid Orbit 00001"
drag 240 550 240 200 80
idle
drag 240 550 240 200 80
idle
shot large-flung.png
expect-no-text "Rapid Orbit 00001"
tap-text Free
idle
expect-no-text Trial
expect-no-text Demo
tap-text Newest
wait-text Sort by
idle
drag 240 300 240 450 400
idle
tap-text Name
wait-text Bulk listing
idle
shot large-free-name.png
dump large-free-name.txt
expect-text "Amber Atlas 00309"
quit
