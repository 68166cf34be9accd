# An application reached from the top list: its developer and one of its tags lead to lists
# of the catalogue, and it is installed from its page after the question with the size.
wait-text Sign in
softkey left
wait-text Main menu
idle
tap-text Top apps
wait-text Newest
idle
tap-text Drum Pad
wait-text Description
idle
shot top_details.png
expect-text Install
expect-no-text Remove
tap-text Tidewater
wait-text Newest
idle
shot developer_list.png
expect-text Drum Pad
softkey left
wait-text Description
idle
drag 240 500 240 100 800
idle
tap-text instruments
wait-text Newest
idle
shot tag_list.png
expect-text Drum Pad
softkey left
wait-text Write review
idle
drag 240 100 240 500 800
idle
tap-text Install
wait-text Install Drum Pad on this device? Download size:*
softkey left
wait-text In progress
wait-text Run
idle
shot top_installed.png
quit
