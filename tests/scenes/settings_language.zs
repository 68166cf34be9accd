# German from the settings: every scene on the stack speaks it at once, and the main menu tells
# the service the new locale.
wait-text Sign in
softkey left
wait-text Top apps
idle
tap-text Settings
wait-text Language
idle
tap-text Language
wait-text Русский
idle
shot language_list.png
# The list opens at the current language; Deutsch lies above it.
drag 240 200 240 560 1000
idle
tap-text Deutsch
wait-text Einstellungen
idle
shot settings_german.png
expect-text Sprache
expect-text Deutsch
expect-text Hauptmenü
expect-text Tastatur
softkey left
wait-text Katalog
idle
shot main_menu_german.png
expect-text Hauptmenü
expect-text Meine Apps
expect-no-text Settings
expect-no-text Fehler
quit
