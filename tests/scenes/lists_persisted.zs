# The price filter and sort chosen in the top list last time apply to a category list opened in
# a new run, which filters and sorts on the device from there.
wait-text Sign in
softkey left
wait-text Main menu
idle
tap-text Catalogue
wait-text Games(*
idle
tap-text Games(*
wait-text Show all (*
idle
tap-text Show all (*
wait-text Downloads
idle
shot games-free-downloads.png
dump games-free-downloads.txt
expect-text Solitaire Pack
expect-text Sudoku Zen
expect-text Brick Breaker
expect-no-text Demo
tap-text Downloads
wait-text Sort by
idle
drag 240 300 240 450 400
idle
tap-text Name
wait-text Games
idle
shot games-free-name.png
expect-text Brick Breaker
expect-text Go Board
expect-text Lights Off
tap-text All
idle
shot games-all-name.png
expect-text Anagram
expect-text Backgammon
quit
