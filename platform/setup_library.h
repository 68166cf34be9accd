#pragma once
/* The setup library interface: the four C functions that a package's setup library (a shared
 * object named by "SetupDLL" in the package's install document) exports, and that the
 * installer (wceload) and the configuration manager call.
 *
 * When a package is installed:
 *   1. Install_Init, before anything is written. A library that answers SETUP_INIT_CANCEL
 *      stops the installation, which then changes nothing.
 *   2. the installer writes the package's folders, files, shortcuts and registry values and
 *      records the package under \Security\AppInstall\<AppName>;
 *   3. Install_Exit, with the install folder now in place. SETUP_EXIT_UNINSTALL makes the
 *      installer remove the package again (and report failure).
 * When it is removed (the configuration manager's "UnInstall"):
 *   1. Uninstall_Init, while everything is still in place. SETUP_INIT_CANCEL keeps the package.
 *   2. the recorded files, shortcuts, folders and registry entries are removed;
 *   3. Uninstall_Exit.
 * Reinstalling a package over an installed one calls the new library's Install_Init (with
 * previouslyInstalled 1) and Install_Exit; the old library's uninstall calls are not made, so
 * a program that asks the user about its data on removal does not ask on an update.
 *
 * Arguments: `window` is the installer's window, always null on the emulated device (a library
 * that shows a message box shows it without an owner). `installDir` is the install folder as a
 * device path in UTF-8 without a trailing backslash ("\Program Files\Zentri"). The failure
 * counts of Install_Exit are always 0: the installer refuses a package whole rather than
 * installing part of it. Every call is made on one thread, in this order; the library is
 * loaded for an installation or a removal and unloaded afterwards, so it keeps no state.
 * The library is run in the installing process: the installer program for an installation,
 * the caller of the configuration manager for a removal.
 */

#ifdef __cplusplus
extern "C" {
#endif

enum SetupInitResult {
    SETUP_INIT_CONTINUE = 0, /* go on with the installation or removal */
    SETUP_INIT_CANCEL = 1,   /* stop; nothing is changed */
};

enum SetupExitResult {
    SETUP_EXIT_DONE = 0,      /* the installation or removal is complete */
    SETUP_EXIT_UNINSTALL = 1, /* Install_Exit only: remove the package that was just installed */
};

/* The signatures as the installer calls them. */
typedef int (*SetupInstallInitFn)(void* window, int firstCall, int previouslyInstalled,
                                  const char* installDir);
typedef int (*SetupInstallExitFn)(void* window, const char* installDir, unsigned failedDirs,
                                  unsigned failedFiles, unsigned failedRegKeys,
                                  unsigned failedRegValues, unsigned failedShortcuts);
typedef int (*SetupUninstallInitFn)(void* window, const char* installDir);
typedef int (*SetupUninstallExitFn)(void* window);

/* A setup library defines the four with SETUP_EXPORT so that they are found by name. */
#define SETUP_EXPORT __attribute__((visibility("default")))

SETUP_EXPORT int Install_Init(void* window, int firstCall, int previouslyInstalled,
                              const char* installDir);
SETUP_EXPORT int Install_Exit(void* window, const char* installDir, unsigned failedDirs,
                              unsigned failedFiles, unsigned failedRegKeys,
                              unsigned failedRegValues, unsigned failedShortcuts);
SETUP_EXPORT int Uninstall_Init(void* window, const char* installDir);
SETUP_EXPORT int Uninstall_Exit(void* window);

#ifdef __cplusplus
}
#endif
