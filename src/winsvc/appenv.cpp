#include "winsvc/appenv.h"

#include "core/text.h"

#include <QAccessibleWidget>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTranslator>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <pwd.h>
#include <unistd.h>

namespace quillo {

QString portableFolder(const QString& programDir) {
    if (programDir.isEmpty() || !QFileInfo::exists(programDir + '/' + PortableMarkerName))
        return {};
    return QFileInfo(programDir).isWritable() ? programDir : QString();
}

namespace {

// A folder of the programs' own when QUILLO_HOME names one, made on demand so that a first
// run starts silently; empty otherwise.
QString quilloHome() {
    const QString home = qEnvironmentVariable("QUILLO_HOME");
    if (home.isEmpty())
        return {};
    QDir().mkpath(home);
    return QDir::cleanPath(home);
}

// The programs' folder among the user's folders of that kind.
QString userFolder(QStandardPaths::StandardLocation location) {
    return QStandardPaths::writableLocation(location) + QStringLiteral("/quillo32");
}

// $QUILLO_HOME, else the portable tree's folder, else the user's folder (made on demand).
QString ownFolder(QStandardPaths::StandardLocation location) {
    if (const QString home = quilloHome(); !home.isEmpty())
        return home;
    if (const QString beside = portableFolder(QCoreApplication::applicationDirPath());
        !beside.isEmpty())
        return beside;
    const QString folder = userFolder(location);
    QDir().mkpath(folder);
    return folder;
}

} // namespace

QString settingsFolder() {
    const QString folder = ownFolder(QStandardPaths::GenericConfigLocation);
    if (folder != userFolder(QStandardPaths::GenericConfigLocation))
        return folder;
    // Earlier versions kept the settings with the HTML sites when the program folder was not
    // writable; a user's first run of this one takes them over (copied, never moved).
    const QString earlier = userFolder(QStandardPaths::GenericDataLocation);
    for (const char* name : {"qzd32mk.ini", "qzd32mkf.ini"}) {
        const QString target = folder + '/' + QLatin1String(name);
        if (!QFileInfo::exists(target))
            QFile::copy(earlier + '/' + QLatin1String(name), target);
    }
    return folder;
}

QString outputFolder() {
    return ownFolder(QStandardPaths::GenericDataLocation);
}

QString findResource(const QString& name, const QString& programDir) {
    const QString folders[] = {
        programDir,
        QDir::cleanPath(programDir + QStringLiteral("/" QUILLO_DATA_DIR_FROM_BIN)),
        QStringLiteral(QUILLO_DATA_DIR),
    };
    for (const QString& folder : folders) {
        const QString path = folder + '/' + name;
        if (QFileInfo::exists(path))
            return path;
    }
    return programDir + '/' + name;
}

QString findProgram(const QString& name, const QString& programDir) {
    const QString beside = programDir + '/' + name;
    const QFileInfo info(beside);
    if (info.isFile() && info.isExecutable())
        return beside;
    const QString onPath = QStandardPaths::findExecutable(name);
    return onPath.isEmpty() ? beside : onPath;
}

int answerInfoRequest(int argc, char* argv[], const char* program, const char* usage) {
    if (argc != 2)
        return -1;
    if (std::strcmp(argv[1], "--help") == 0)
        std::fputs(usage, stdout);
    else if (std::strcmp(argv[1], "--version") == 0)
        std::printf("%s %s\n", program, QUILLO_VERSION);
    else
        return -1;
    std::fflush(stdout);
    return 0;
}

bool displayConfigured(const QProcessEnvironment& environment) {
    const auto waylandSocket = [&environment] {
        if (!environment.value("WAYLAND_DISPLAY").isEmpty())
            return true;
        const QString runtime = environment.value("XDG_RUNTIME_DIR");
        return !runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/wayland-0"));
    };
    const QString chosen = environment.value("QT_QPA_PLATFORM");
    if (chosen.isEmpty())
        return !environment.value("DISPLAY").isEmpty() || waylandSocket();
    // A list of platforms to try in turn ("wayland;xcb"), each with its options after ':'.
    for (const QString& entry : chosen.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = entry.section(QLatin1Char(':'), 0, 0);
        if (name == QLatin1String("xcb")) {
            if (!environment.value("DISPLAY").isEmpty())
                return true;
        } else if (name.startsWith(QLatin1String("wayland"))) {
            if (waylandSocket())
                return true;
        } else {
            return true;
        }
    }
    return false;
}

QString noDisplayLine(const char* program) {
    return QString::fromUtf8(program) +
           QStringLiteral(": no display found; run it in a desktop session, or name the "
                          "display with DISPLAY or the window system with QT_QPA_PLATFORM");
}

namespace {

// While the application is made: the window-system messages Qt gives before it aborts for
// want of a display, held back so that the program can say so in one line instead.
struct ApplicationStart {
    const char* program = nullptr;
    QtMessageHandler previous = nullptr;
    struct Held {
        QtMsgType type;
        QByteArray category;
        QString text;
    };
    QList<Held> held;
};
ApplicationStart* applicationStart = nullptr;

// Gives the held messages to the handler that was there before, in their order.
void passOnHeld(ApplicationStart& start) {
    for (const ApplicationStart::Held& h : std::as_const(start.held))
        start.previous(h.type, QMessageLogContext(nullptr, 0, nullptr, h.category.constData()),
                       h.text);
    start.held.clear();
}

void startMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    ApplicationStart& start = *applicationStart;
    const QByteArray category(context.category ? context.category : "");
    if (type == QtFatalMsg) {
        const bool noDisplay = std::any_of(
            start.held.cbegin(), start.held.cend(), [](const ApplicationStart::Held& h) {
                return h.text.contains(QLatin1String("connect to display")) ||
                       h.text.contains(QLatin1String("wl_display"));
            });
        if (noDisplay) {
            std::fprintf(stderr, "%s\n", qPrintable(noDisplayLine(start.program)));
            std::fflush(stderr);
            std::_Exit(1);
        }
        // Another reason (a missing plug-in): Qt's own messages explain it, in order.
        passOnHeld(start);
    }
    if (type != QtFatalMsg && category.startsWith("qt.qpa.")) {
        start.held.append({type, category, text});
        return;
    }
    start.previous(type, context, text);
}

} // namespace

int beforeApplication(int argc, char* argv[], const char* program, const char* usage) {
    if (const int answered = answerInfoRequest(argc, argv, program, usage); answered >= 0)
        return answered;
    preferX11OnWayland();
    if (!displayConfigured(QProcessEnvironment::systemEnvironment())) {
        std::fprintf(stderr, "%s\n", qPrintable(noDisplayLine(program)));
        return 1;
    }
    static ApplicationStart start;
    start.program = program;
    applicationStart = &start;
    start.previous = qInstallMessageHandler(startMessageHandler);
    return -1;
}

void applicationMade() {
    if (!applicationStart)
        return;
    ApplicationStart& start = *applicationStart;
    qInstallMessageHandler(start.previous);
    applicationStart = nullptr;
    passOnHeld(start);
}

void setProgramIdentity(const QString& name) {
    QGuiApplication::setDesktopFileName(name);
    const QIcon builtIn(QStringLiteral(":/icons/") + name + QStringLiteral(".svg"));
    QApplication::setWindowIcon(QIcon::fromTheme(name, builtIn));
}

QString commandLinePath(const QStringList& argumentsAfterProgram) {
    QString path = argumentsAfterProgram.join(QLatin1Char(' '));
    if (path.startsWith(QLatin1Char('"')))
        path.remove(0, 1);
    if (path.endsWith(QLatin1Char('"')))
        path.chop(1);
    return path;
}

QByteArray platformOverride(const QProcessEnvironment& environment) {
    if (environment.contains("QT_QPA_PLATFORM"))
        return {};
    const bool wayland = environment.value("XDG_SESSION_TYPE") == "wayland" ||
                         !environment.value("WAYLAND_DISPLAY").isEmpty();
    if (wayland && !environment.value("DISPLAY").isEmpty())
        return "xcb";
    return {};
}

void preferX11OnWayland() {
    const QByteArray platform = platformOverride(QProcessEnvironment::systemEnvironment());
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

namespace {

// A combo box with an accessible name of its own: Qt's interface on Linux gives a combo box
// its current entry as its name, so that a screen reader would announce a font box as the
// font it shows. This one names it by its accessible name and gives the entry as its value.
class NamedComboBox : public QAccessibleWidget {
public:
    explicit NamedComboBox(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        const auto* box = static_cast<const QComboBox*>(widget());
        if (t == QAccessible::Value)
            return box->currentText();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction())
            static_cast<QComboBox*>(widget())->showPopup();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* windowAccessible(const QString& className, QObject* object) {
    // Asked for each class of the object from the most derived up; a plain widget is reached
    // only when no class below it has an interface of its own.
    if (className == QLatin1String("QComboBox")) {
        auto* box = static_cast<QComboBox*>(object);
        return box->accessibleName().isEmpty() ? nullptr : new NamedComboBox(box);
    }
    if (className != QLatin1String("QWidget"))
        return nullptr;
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !widget->isWindow())
        return nullptr;
    switch (widget->windowType()) {
    case Qt::Dialog:
        return new QAccessibleWidget(widget, QAccessible::Dialog);
    case Qt::Window:
    case Qt::Tool:
        return new QAccessibleWidget(widget, QAccessible::Window);
    default:
        return nullptr;
    }
}

} // namespace

void installWindowAccessibility() {
    QAccessible::installFactory(windowAccessible);
}

namespace {

struct Substitution {
    const char* windowsName;
    const char* romanName;
    const char* ipaFont;
};
constexpr Substitution JapaneseSubstitutions[] = {
    {"ＭＳ Ｐゴシック", "MS PGothic", "IPAPGothic"},
    {"ＭＳ ゴシック", "MS Gothic", "IPAGothic"},
    {"ＭＳ Ｐ明朝", "MS PMincho", "IPAPMincho"},
    {"ＭＳ 明朝", "MS Mincho", "IPAMincho"},
    // The face Windows rich-edit controls name for Japanese text by default.
    {"MS UI Gothic", "MS UI Gothic", "IPAPGothic"},
};

} // namespace

void installJapaneseFontSubstitutions() {
    for (const Substitution& s : JapaneseSubstitutions) {
        const QStringList faces{QString::fromUtf8(s.ipaFont)};
        QFont::insertSubstitutions(QString::fromUtf8(s.windowsName), faces);
        QFont::insertSubstitutions(QString::fromUtf8(s.romanName), faces);
    }
}

QStringList windowsJapaneseFontNames() {
    QStringList names;
    for (const Substitution& s : JapaneseSubstitutions)
        names << QString::fromUtf8(s.windowsName);
    return names;
}

QStringList plainFontFamilies(const QStringList& families) {
    static const QStringList aliases{QStringLiteral("Sans Serif"), QStringLiteral("Sans"),
                                     QStringLiteral("Serif"), QStringLiteral("Monospace"),
                                     QStringLiteral("Mono")};
    QStringList plain;
    for (const QString& family : families) {
        const QString name = plainFontFamily(family);
        if (!name.isEmpty() && !aliases.contains(name, Qt::CaseInsensitive) &&
            !plain.contains(name))
            plain << name;
    }
    return plain;
}

bool installJapaneseQtTranslations(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

QString computerName() {
    return QSysInfo::machineHostName();
}

QString loginName() {
    if (const passwd* entry = getpwuid(geteuid()); entry && entry->pw_name)
        return QString::fromLocal8Bit(entry->pw_name);
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("LOGNAME") : user;
}

} // namespace quillo
