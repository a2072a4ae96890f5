#include "window_fixture.h"

#include <QTabBar>
#include <QTabWidget>

#include <filesystem>

namespace kelvaro::test {

WindowFixture::WindowFixture() {
    std::filesystem::copy(std::string(KELVARO_SOURCE_DIR) + "/data/Templates",
                          folder.File("Templates"), std::filesystem::copy_options::recursive);
    window = std::make_unique<ui::ReadMeForm>(host, folder.Path());
    window->show();
}

WindowFixture::~WindowFixture() {
    // Closing through the window would ask the exit question; the test is over.
    window->hide();
    window.reset();
}

void WindowFixture::ClickTab(int index) const {
    QTabBar* bar = window->widgets().TabSheet->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

QString Qs(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

} // namespace kelvaro::test
