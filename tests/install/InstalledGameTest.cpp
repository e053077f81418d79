// The game as it is installed: the Debian package unpacked and a plain
// cmake --install, each started through its launcher on the PATH from some
// other directory, and the icon where desktops look for it.
#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include "GameWindow.h"

namespace kestrune::window_test {
namespace {

constexpr const char* kAppId = "io.github.kestrune.Kestrune";

struct Layout {
  const char* name;
  std::filesystem::path prefix;
  const char* launcher;  // below the prefix
};

const Layout kLayouts[] = {
    {"Package", std::filesystem::path(KESTRUNE_INSTALL_OUT) / "root/usr", "games/kestrune"},
    {"CmakeInstall", std::filesystem::path(KESTRUNE_INSTALL_OUT) / "prefix", "bin/kestrune"},
};

void PrintTo(const Layout& layout, std::ostream* out) { *out << layout.name; }

class InstalledGameTest : public ::testing::TestWithParam<Layout> {};

TEST_P(InstalledGameTest, StartedThroughItsLauncherFromElsewhereHelpShowsTheDocumentBesideTheProgram) {
  const std::filesystem::path launcher = GetParam().prefix / GetParam().launcher;
  ASSERT_TRUE(std::filesystem::is_symlink(launcher)) << launcher << " is no launcher; did install.package run?";

  XSession session;
  TempDir elsewhere;
  GameWindow game(session, launcher, elsewhere.Path());
  ASSERT_TRUE(game.Found()) << "the installed game opened no window; it said:\n" << game.Program().Output();
  game.ClickHelp();
  const auto help = session.WaitForWindow("Kestrune Help", milliseconds(5000));
  ASSERT_TRUE(help.has_value()) << "no help window; windows saying it cannot be read: "
                                << session.FindWindows("Kestrune Help (not available)").size();
  const Rect frame = session.Geometry(*help);
  const Picture page = session.Grab(frame);
  EXPECT_GT(page.Count({0, 0, frame.width, frame.height}, [](std::uint32_t p) { return p < 0x404040; }), 2000)
      << "the help window shows no document";
}

TEST_P(InstalledGameTest, TheIconIsInTheThemeAtEverySizeEnlargedByWholePixels) {
  const QImage drawn(QStringLiteral(KESTRUNE_ICON_BMP));
  ASSERT_FALSE(drawn.isNull()) << "cannot read the icon the build drew";
  ASSERT_EQ(drawn.size(), QSize(32, 32));
  for (int factor : {1, 2, 4, 8}) {
    const int size = 32 * factor;
    const std::filesystem::path file = GetParam().prefix / "share/icons/hicolor" /
                                       (std::to_string(size) + "x" + std::to_string(size)) / "apps" /
                                       (std::string(kAppId) + ".png");
    SCOPED_TRACE(file.string());
    const QImage icon(QString::fromStdString(file.string()), "PNG");
    ASSERT_FALSE(icon.isNull()) << "no PNG picture there";
    ASSERT_EQ(icon.size(), QSize(size, size));
    int wrong = 0;
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) wrong += icon.pixel(x, y) != drawn.pixel(x / factor, y / factor);
    EXPECT_EQ(wrong, 0) << "pixels that are not a copy of the drawn icon's pixel they enlarge";
  }
}

INSTANTIATE_TEST_SUITE_P(Layouts, InstalledGameTest, ::testing::ValuesIn(kLayouts),
                         [](const ::testing::TestParamInfo<Layout>& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace kestrune::window_test
