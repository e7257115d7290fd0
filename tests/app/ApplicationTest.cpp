// The application object's error boxes, the message box helper and the text
// crossing between Windows-1251 and Qt.

#include "MessageBox.h"
#include "ModalBoxWatcher.h"
#include "Text.h"
#include "VelmoApplication.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

namespace {

const QEvent::Type kThrowStd = static_cast<QEvent::Type>(QEvent::registerEventType());
const QEvent::Type kThrowOther = static_cast<QEvent::Type>(QEvent::registerEventType());

// An object whose event handler throws, as a command handler does when a
// settings write is refused.
class Thrower : public QObject {
public:
    QString message = QStringLiteral("Unable to write to /x/velmo/Ящик/options.velmo");
    int handled = 0;

    bool event(QEvent *event) override
    {
        if (event->type() == kThrowStd) {
            ++handled;
            throw std::runtime_error(message.toStdString());
        }
        if (event->type() == kThrowOther) {
            ++handled;
            throw 42;
        }
        return QObject::event(event);
    }
};

void Raise(Thrower &thrower, QEvent::Type type)
{
    QEvent event(type);
    QCoreApplication::sendEvent(&thrower, &event);
}

}  // namespace

TEST(VelmoApplicationTest, ExceptionFromHandlerIsShownInAnErrorBoxAndTheProgramGoesOn)
{
    Thrower thrower;
    ModalBoxWatcher watcher;

    Raise(thrower, kThrowStd);
    Raise(thrower, kThrowOther);

    EXPECT_EQ(thrower.handled, 2);
    ASSERT_EQ(watcher.Boxes().size(), 2u);
    EXPECT_EQ(watcher.Boxes()[0].text, thrower.message);
    EXPECT_EQ(watcher.Boxes()[0].icon, QMessageBox::Critical);
    EXPECT_EQ(watcher.Boxes()[0].buttons, QMessageBox::Ok);
    EXPECT_EQ(watcher.Boxes()[0].title, QStringLiteral("Велмо (Velmo) v1.2"));
    // Anything that is not a std::exception is shown with an empty message.
    EXPECT_EQ(watcher.Boxes()[1].text, QString());
}

TEST(VelmoApplicationTest, ErrorsWhileAnErrorBoxIsOpenOpenNoFurtherBox)
{
    Thrower thrower;
    std::vector<ModalBoxWatcher::Box> nested;
    ModalBoxWatcher watcher([&](QMessageBox &) {
        // A stacked box would be answered by this inner watcher and show up here.
        ModalBoxWatcher inner;
        Raise(thrower, kThrowStd);
        Raise(thrower, kThrowOther);
        nested = inner.Boxes();
    });

    Raise(thrower, kThrowStd);

    EXPECT_EQ(thrower.handled, 3);
    EXPECT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_TRUE(nested.empty());

    // Once the box is closed, the next error is shown again.
    Raise(thrower, kThrowStd);
    EXPECT_EQ(watcher.Boxes().size(), 2u);
}

// Counts the requests to quit that reach the application while it lives.
class QuitRequests : public QObject {
public:
    QuitRequests() { QCoreApplication::instance()->installEventFilter(this); }
    int count = 0;

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Quit)
            ++count;
        return false;
    }
};

// Runs the event loop with a step, then with a follow-up queued behind
// everything the step posted; the loop ends after the follow-up (or after a
// bound, so that a loop that never gets there fails instead of hanging).
int RunLoop(const std::function<void()> &step, bool &followUpRan)
{
    QTimer::singleShot(0, [&] {
        step();
        QTimer::singleShot(0, [&] {
            followUpRan = true;
            QCoreApplication::exit(7);
        });
    });
    QTimer bound;
    bound.setSingleShot(true);
    QObject::connect(&bound, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    bound.start(30000);
    return QCoreApplication::exec();
}

TEST(VelmoApplicationTest, ClosingTheErrorBoxOrTheLastWindowDoesNotQuit)
{
    EXPECT_FALSE(QGuiApplication::quitOnLastWindowClosed());

    Thrower thrower;
    ModalBoxWatcher watcher;
    QuitRequests quits;
    bool followUpRan = false;
    EXPECT_EQ(RunLoop([&] { Raise(thrower, kThrowStd); }, followUpRan), 7);
    EXPECT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_TRUE(followUpRan);

    QWidget window;
    followUpRan = false;
    EXPECT_EQ(RunLoop([&] {
        window.show();
        window.close();
    }, followUpRan), 7);
    EXPECT_TRUE(followUpRan);
    EXPECT_EQ(quits.count, 0);
}

TEST(ShowMessageTest, ShowsTheTextWithOkOverTheActiveWindow)
{
    {
        ModalBoxWatcher watcher;
        ShowMessage(QStringLiteral("Не удалось создать каталог"));
        ASSERT_EQ(watcher.Boxes().size(), 1u);
        const ModalBoxWatcher::Box &box = watcher.Boxes()[0];
        EXPECT_EQ(box.text, QStringLiteral("Не удалось создать каталог"));
        EXPECT_EQ(box.title, QStringLiteral("Велмо (Velmo) v1.2"));
        EXPECT_EQ(box.icon, QMessageBox::NoIcon);
        EXPECT_EQ(box.buttons, QMessageBox::Ok);
        EXPECT_EQ(box.parent, nullptr);
    }

    QWidget window;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ModalBoxWatcher watcher;
    ShowMessage(QStringLiteral("<b>not markup</b>"));
    ASSERT_EQ(watcher.Boxes().size(), 1u);
    EXPECT_EQ(watcher.Boxes()[0].parent, &window);
    EXPECT_EQ(watcher.Boxes()[0].text, QStringLiteral("<b>not markup</b>"));
}

TEST(TextTest, Cp1251CrossesToQtAndBack)
{
    const std::string bytes = "\xcf\xf0\xee\xe2\xe5\xf0\xe5\xed";  // "Проверен"
    EXPECT_EQ(fromCp1251(bytes), QStringLiteral("Проверен"));
    EXPECT_EQ(toCp1251(QStringLiteral("Проверен")), bytes);
    EXPECT_EQ(cp1251("Проверен"), bytes);
    EXPECT_EQ(fromCp1251("box 1"), QStringLiteral("box 1"));
    EXPECT_EQ(fromCp1251(""), QString());

    EXPECT_EQ(toCp1251(QStringLiteral("漢字")), std::nullopt);
    EXPECT_THROW(cp1251("漢字"), std::logic_error);
}
