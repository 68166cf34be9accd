# The language is kept from the last run; back to English.
wait-text Anmelden
softkey left
wait-text Katalog
idle
tap-text Einstellungen
wait-text Sprache
idle
tap-text Sprache
wait-text English
idle
tap-text English
wait-text Settings
idle
softkey left
wait-text Catalogue
idle
expect-no-text Error
quit
