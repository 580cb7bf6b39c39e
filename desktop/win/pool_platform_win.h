// The data pool's platform in the desktop program: requests go to the link
// library through the send guard, the cursor is the window layer's
// hourglass, texts come from the chosen language module, and the melody
// preview plays on the PC speaker.
#pragma once

// Installs the platform for the rest of the run (the main window does so when
// it creates the data).
void InstallDesktopPoolPlatform();
