# The catalogue walked three levels down to a list, back by the crumbs, and home by the icon.
wait-text Sign in
softkey left
wait-text Main menu
idle
tap-text Catalogue
wait-text Games(*
idle
shot cats-root.png
expect-text Productivity(*
tap-text Games(*
wait-text Show all (*
idle
shot cats-games.png
tap-text Puzzle(*
wait-text Word games(*
idle
shot cats-puzzle.png
tap-text Word games(*
wait-text Newest
idle
shot list-word-games.png
expect-text Word Hunt
expect-text Anagram
# Back by the crumbs: the list's crumb is its parent category, then the parent's.
tap-text Puzzle
wait-text Logic(*
idle
expect-no-text Newest
tap-text Games
wait-text Show all (*
idle
shot cats-games-again.png
# "Show all" lists the whole category.
tap-text Show all (*
wait-text Newest
idle
shot list-games.png
expect-text Games
expect-text Categories
# Deeper again, then home in one step.
softkey left
wait-text Puzzle(*
idle
tap-text Puzzle(*
wait-text Logic(*
idle
tap 441 39
wait-text Top apps
idle
shot home.png
expect-text Catalogue
expect-no-text Logic(*
quit
