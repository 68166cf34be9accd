# The search: a keyword in the developer field, two tags, a category three levels down.
wait-text Sign in
softkey left
wait-text Main menu
idle
tap-text Search
wait-text Keyword
idle
shot search.png
expect-text All categories
expect-text None selected
expect-text Not set
# Nothing chosen: refused with a message.
softkey right
wait-text Please choose*
idle
shot search-refused.png
softkey left
idle

# The keyword, looked for in the developer's name only.
tap-text Not set
wait-text Enter a keyword:
idle
tap-edit 1
type Quill
tap-text Everywhere
wait-text Search in
idle
tap-text Developer
wait-text Enter a keyword:
idle
expect-text Developer
shot keyword.png
softkey right
wait-text Quill
idle
shot search-keyword.png
softkey right
wait-text Search results
idle
shot results-keyword.png
dump results-keyword.txt
expect-text Tip Calculator
expect-text Docs Writer
softkey left
idle

# Back to the main menu: the criteria go with the search scene.
tap 441 39
wait-text Main menu
idle
tap-text Search
wait-text Keyword
idle
expect-text Not set

# Two tags.
tap-text None selected
wait-text Choose tags
idle
shot tags.png
tap-text board(*
idle
drag 240 500 240 100 2000
idle
drag 240 500 240 100 2000
idle
tap-text games(*
idle
shot tags-chosen.png
softkey right
wait-text board, games
idle
shot search-tags.png
softkey right
wait-text Search results
idle
shot results-tags.png
dump results-tags.txt
expect-text Chess Master
expect-text Backgammon
softkey left
idle

# A category three levels down, chosen in the category walk.
tap 441 39
wait-text Main menu
idle
tap-text Search
wait-text Keyword
idle
tap-text All categories
wait-text Categories
idle
shot cats-chooser.png
tap-text Games(*
wait-text Choose this category
idle
tap-text Puzzle(*
wait-text Logic(*
idle
shot cats-chooser-puzzle.png
tap-text Logic(*
wait-text Games > Puzzle > Logic
idle
shot search-category.png
softkey right
wait-text Search results
idle
shot results-category.png
dump results-category.txt
expect-text Lights Off
expect-text Mine Sweep
quit
