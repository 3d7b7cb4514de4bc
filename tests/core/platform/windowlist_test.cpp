// Tests of the window list under a private Xvfb: real Qt windows of a child program (shown,
// hidden, titles that differ slightly), windows made here with xcb for the name properties,
// and the window manager's client list set on the root by hand.
#include "core/platform/windowlist.h"
#include "support/windowowner.h"
#include "support/xvfbserver.h"

#include <gtest/gtest.h>

#include <QProcess>

#include <xcb/xcb.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

using qz::test::WindowOwner;
using qz::test::XvfbServer;

// Sets an environment variable for one scope.
class ScopedEnv final {
public:
    ScopedEnv(const char *name, const QByteArray *value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name))
    {
        if (value) {
            qputenv(name, *value);
        } else {
            qunsetenv(name);
        }
    }
    ~ScopedEnv()
    {
        if (had_) {
            qputenv(name_, old_);
        } else {
            qunsetenv(name_);
        }
    }

private:
    const char *name_;
    bool had_;
    QByteArray old_;
};

class WindowList : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server_.isRunning()) << qPrintable(server_.errorString()); }

    // CorreApp as declmod calls it, with $DISPLAY naming the private server.
    bool correApp(const QString &title) const
    {
        const QByteArray display = server_.display();
        const ScopedEnv env("DISPLAY", &display);
        return qz::CorreApp(title);
    }
    QList<QByteArray> titles() const
    {
        return qz::visibleTopLevelTitles(server_.display()).value_or(QList<QByteArray>{});
    }

    XvfbServer server_;
};

TEST_F(WindowList, ShownWindowIsFoundByItsExactTitleOnly)
{
    const WindowOwner owner(server_, QStringLiteral("Velquira"), false);
    ASSERT_TRUE(owner.ready()) << qPrintable(owner.error());

    EXPECT_TRUE(correApp(QStringLiteral("Velquira")));
    EXPECT_TRUE(titles().contains("Velquira"));
    for (const QString &other :
         {QStringLiteral("velquira"), QStringLiteral("VELQUIRA"), QStringLiteral("Velquirá"),
          QStringLiteral("Velquira "), QStringLiteral(" Velquira"), QStringLiteral("Velquir"),
          QString()}) {
        EXPECT_FALSE(correApp(other)) << qPrintable(other);
    }
}

TEST_F(WindowList, HostTitlesDifferingInCaseAccentOrTrailingBlankDoNotCount)
{
    const QStringList near{QStringLiteral("velquira"), QStringLiteral("Velquirá"),
                           QStringLiteral("Velquira ")};
    std::vector<std::unique_ptr<WindowOwner>> owners;
    for (const QString &title : near) {
        owners.push_back(std::make_unique<WindowOwner>(server_, title, false));
        ASSERT_TRUE(owners.back()->ready()) << qPrintable(owners.back()->error());
    }
    EXPECT_FALSE(correApp(QStringLiteral("Velquira")));
    // Each of them is there under its own title, accent and blank included.
    for (const QString &title : near) {
        EXPECT_TRUE(correApp(title)) << qPrintable(title);
    }
}

TEST_F(WindowList, HiddenWindowDoesNotCount)
{
    const WindowOwner owner(server_, QStringLiteral("Velquira"), true);
    ASSERT_TRUE(owner.ready()) << qPrintable(owner.error());

    // The window is on the server with its title, only not mapped.
    const auto all = qz::topLevelWindows(server_.display());
    ASSERT_TRUE(all.has_value());
    bool present = false;
    for (const qz::TopLevelWindow &w : *all) {
        if (w.title == "Velquira") {
            present = true;
            EXPECT_FALSE(w.viewable);
        }
    }
    EXPECT_TRUE(present);
    EXPECT_FALSE(correApp(QStringLiteral("Velquira")));
    EXPECT_FALSE(titles().contains("Velquira"));
}

TEST(WindowListWithoutServer, NoDisplayMeansNoWindow)
{
    {
        const ScopedEnv env("DISPLAY", nullptr);
        EXPECT_FALSE(qz::CorreApp(QStringLiteral("Velquira")));
        EXPECT_FALSE(qz::visibleTopLevelTitles().has_value());
    }
    {
        const QByteArray nobody(":65533");
        const ScopedEnv env("DISPLAY", &nobody);
        EXPECT_FALSE(qz::CorreApp(QStringLiteral("Velquira")));
        EXPECT_FALSE(qz::topLevelWindows().has_value());
    }
}

// Windows made directly with xcb, to set the name properties and the client list at will.
class RawWindows : public WindowList {
protected:
    void SetUp() override
    {
        WindowList::SetUp();
        conn_ = xcb_connect(server_.display().constData(), nullptr);
        ASSERT_EQ(xcb_connection_has_error(conn_), 0);
        root_ = xcb_setup_roots_iterator(xcb_get_setup(conn_)).data->root;
    }
    void TearDown() override
    {
        if (conn_) {
            xcb_disconnect(conn_);
        }
    }
    xcb_atom_t atom(const char *name)
    {
        const auto cookie =
            xcb_intern_atom(conn_, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(conn_, cookie, nullptr);
        const xcb_atom_t a = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return a;
    }
    void setProperty(xcb_window_t w, xcb_atom_t property, xcb_atom_t type, int format,
                     const void *data, std::uint32_t count)
    {
        xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, w, property, type,
                            static_cast<std::uint8_t>(format), count, data);
    }
    // A top-level window; netName in UTF-8 and wmName as Latin-1 STRING when given.
    xcb_window_t makeWindow(const QByteArray &netName, const QByteArray &wmName, bool mapped)
    {
        const xcb_window_t w = xcb_generate_id(conn_);
        xcb_create_window(conn_, XCB_COPY_FROM_PARENT, w, root_, 0, 0, 50, 50, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        if (!netName.isNull()) {
            setProperty(w, atom("_NET_WM_NAME"), atom("UTF8_STRING"), 8, netName.constData(),
                        netName.size());
        }
        if (!wmName.isNull()) {
            setProperty(w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, wmName.constData(), wmName.size());
        }
        if (mapped) {
            xcb_map_window(conn_, w);
        }
        return w;
    }
    // Waits until the server has handled everything sent so far.
    void sync()
    {
        std::free(xcb_get_input_focus_reply(conn_, xcb_get_input_focus(conn_), nullptr));
    }

    xcb_connection_t *conn_ = nullptr;
    xcb_window_t root_ = 0;
};

TEST_F(RawWindows, TitleIsNetWmNameElseWmNameReadAsLatin1)
{
    makeWindow({}, QByteArray("Velquir\xe1"), true);              // WM_NAME only
    makeWindow(QByteArray("Velquira"), QByteArray("Otro"), true); // both
    makeWindow({}, {}, true);                                     // no name at all
    makeWindow(QByteArray("Sin mapear"), {}, false);              // not mapped
    makeWindow(QByteArray("Con NUL\0basura", 14), {}, true);      // ends at the NUL
    sync();

    const QList<QByteArray> found = titles();
    EXPECT_TRUE(found.contains(QStringLiteral("Velquirá").toUtf8()));
    EXPECT_TRUE(found.contains("Velquira"));
    EXPECT_TRUE(found.contains("Con NUL"));
    EXPECT_FALSE(found.contains("Otro"));
    EXPECT_FALSE(found.contains("Sin mapear"));
    EXPECT_FALSE(found.contains(QByteArray()));

    const QByteArray display = server_.display();
    const ScopedEnv env("DISPLAY", &display);
    EXPECT_TRUE(qz::CorreApp(QStringLiteral("Velquirá")));
    EXPECT_FALSE(qz::CorreApp(QStringLiteral("Otro")));
}

TEST_F(RawWindows, WindowManagerClientListReplacesTheRootChildren)
{
    makeWindow(QByteArray("Suelta"), {}, true); // a root child the manager does not list
    const xcb_window_t listed = makeWindow(QByteArray("Velquira"), {}, true);
    const xcb_window_t unmapped = makeWindow(QByteArray("Oculta"), {}, false);
    const xcb_window_t gone = makeWindow(QByteArray("Cerrada"), {}, true);
    xcb_destroy_window(conn_, gone);
    const xcb_atom_t clientList = atom("_NET_CLIENT_LIST");
    const std::vector<xcb_window_t> clients{listed, unmapped, gone};
    setProperty(root_, clientList, XCB_ATOM_WINDOW, 32, clients.data(),
                static_cast<std::uint32_t>(clients.size()));
    sync();

    EXPECT_EQ(titles(), QList<QByteArray>{"Velquira"});

    xcb_delete_property(conn_, root_, clientList);
    sync();
    const QList<QByteArray> withoutManager = titles();
    EXPECT_TRUE(withoutManager.contains("Suelta"));
    EXPECT_TRUE(withoutManager.contains("Velquira"));
    EXPECT_FALSE(withoutManager.contains("Oculta"));
}

} // namespace
