# The interface language chosen before signing in: every scene on the stack speaks German at once.
wait-text Sign in
tap-text Language
wait-text Deutsch
idle
tap-text Deutsch
wait-text Anmelden*
idle
shot login_german.png
expect-no-text Sign in
