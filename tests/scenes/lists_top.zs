# The top list: its filter bar, then the price filter and the sort, each asked of the service.
wait-text Sign in
softkey left
wait-text Main menu
idle
tap-text Top apps
wait-text Newest
idle
shot top.png
dump top.txt
expect-text All
expect-text Paid
tap-text Free
idle
shot top-free.png
dump top-free.txt
expect-no-text Trial
expect-no-text Demo
tap-text Newest
wait-text Sort by
idle
shot sort.png
# The choice list opens scrolled to the chosen entry; a pull brings the others into sight.
drag 240 300 240 450 400
idle
shot sort-all.png
expect-no-text Name
tap-text Downloads
wait-text Top apps
idle
shot top-free-downloads.png
dump top-free-downloads.txt
expect-text Downloads
quit
