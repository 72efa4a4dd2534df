#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace quillo {

// The file whose presence beside an executable marks its folder as a build tree or a
// portable tree, which keeps the programs' files beside them. An installed tree has none.
inline constexpr char PortableMarkerName[] = "quillo32-portable";

// The folder of a portable tree: `programDir` when the marker lies in it and this user may
// write it; empty otherwise.
QString portableFolder(const QString& programDir);

// Where the authoring program keeps its settings and its recent-file list (qzd32mk.ini,
// qzd32mkf.ini): $QUILLO_HOME when set; otherwise the executable's folder in a portable
// tree; otherwise $XDG_CONFIG_HOME/quillo32. An installed program never writes beside itself,
// whoever runs it. Made on demand; settings that earlier versions kept in
// $XDG_DATA_HOME/quillo32 are copied in when the folder has none of its own.
QString settingsFolder();
// Where the HTML sites are written: as settingsFolder, but $XDG_DATA_HOME/quillo32 for an
// installed program.
QString outputFolder();

// A read-only resource of the programs (their own help file qzd32.qzd): beside the
// executable (a build tree), then in the share folder of an installed tree, found from the
// executable's folder so that a moved tree still works, then in the share folder the build
// was configured for. When none has it, the path beside the executable, so that a message
// can name where it was expected. `programDir` is the folder of the executable.
QString findResource(const QString& name,
                     const QString& programDir = QCoreApplication::applicationDirPath());

// Another program of the suite (the viewer qzd32 that the authoring program starts): beside
// the executable, then on PATH. When neither has it, the path beside the executable.
QString findProgram(const QString& name,
                    const QString& programDir = QCoreApplication::applicationDirPath());

// What a program does before its application object is made, so that it needs no display:
// "--help" or "--version" as the whole command line prints `usage` or "<program> <version>"
// on standard output and gives exit code 0 (a file of that name is opened as ./--help).
// Returns -1 when the command line is something else.
int answerInfoRequest(int argc, char* argv[], const char* program, const char* usage);

// Whether the window system the environment chooses can be reached at all: xcb needs
// DISPLAY, Wayland a compositor's socket; other platforms (offscreen, vnc, ...) always run.
bool displayConfigured(const QProcessEnvironment& environment);
// The one line a window program prints when it finds no display.
QString noDisplayLine(const char* program);

// Everything a window program does before it makes its QApplication: answers --help and
// --version, prefers X11 on Wayland, and checks that a display exists. Returns the exit code
// when the program must end now (0 after an answer, 1 without a display, the line printed),
// -1 to go on. Until applicationMade(), a display that cannot be reached ends the program
// with that line and exit code 1 instead of Qt's abort.
int beforeApplication(int argc, char* argv[], const char* program, const char* usage);
void applicationMade();

// Gives the program's windows its icon, the desktop icon theme's `name` first and the copy
// built into the program (":/icons/<name>.svg") otherwise, and names the desktop entry
// (<name>.desktop) that the desktop should match its windows with.
void setProgramIdentity(const QString& name);

// The one path of a command line: the arguments after the program name joined with single
// blanks, without one double quote at its start and one at its end.
QString commandLinePath(const QStringList& argumentsAfterProgram);

// The platform plug-in to force for this environment, or empty to leave Qt's choice. Both
// programs place their own windows, which Wayland refuses, so on a Wayland session with
// XWayland they use xcb; a QT_QPA_PLATFORM chosen by the user always wins.
QByteArray platformOverride(const QProcessEnvironment& environment);
// Applies platformOverride to this process; call before the QApplication is made.
void preferX11OnWayland();

// Screen readers see the programs' own windows (plain widgets shown as tool windows or
// dialogs) with the role of a window or a dialog, where Qt would describe a plain widget as
// a client area, and a combo box given an accessible name by that name, where Qt would name
// it by the entry it shows. Call once the application is made, before any window.
void installWindowAccessibility();

// Maps the Windows Japanese font names that pages name ("ＭＳ Ｐゴシック", "MS Mincho", ...)
// to the IPA fonts, which fontconfig alone would replace by a Latin font.
void installJapaneseFontSubstitutions();
// The Windows font names that stand for the IPA fonts, as pages name them; the font lists
// offer them beside the installed families so that pages keep their Windows faces.
QStringList windowsJapaneseFontNames();
// The font families a writer can choose among: each by its plain name once, without the
// foundry suffixes fontconfig adds to tell equal names apart and without the generic
// aliases (Sans Serif, Serif, Monospace) that name no face of their own.
QStringList plainFontFamilies(const QStringList& families);
// Loads Qt's own Japanese translations, so that standard buttons and the file dialog speak
// Japanese. Returns false when they are not installed.
bool installJapaneseQtTranslations(QCoreApplication& app);

QString computerName();
QString loginName();

} // namespace quillo
