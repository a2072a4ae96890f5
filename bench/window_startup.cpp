// kelvaro-startup-bench: how long the window takes from a process start to its
// first painted frame, offscreen, against a minimal window that also shows
// Japanese text (a main window with a menu "ファイル(&F)" and a tab widget with
// one tab "１行項目" holding a label "作者名"), built, set up (translations,
// fonts) and run the same way in the same run.
//
//   kelvaro-startup-bench --check [runs]   one line: name, ratio, goal, ok/FAIL
//   kelvaro-startup-bench --window         (child) the Kelvaro window
//   kelvaro-startup-bench --bare           (child) the minimal Japanese window
//
// A child writes one byte to its standard output once its first frame is
// painted and ends at once; the parent times the span from fork to that byte,
// which is what a user waits for.

#include "platform/file_io.h"
#include "ui/application.h"
#include "ui/qt_host.h"
#include "ui/read_me_form.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// Reports the first paint of any widget of `window`, after the frame has
// reached the screen (the next turn of the event loop).
class FirstFrame : public QObject {
public:
    explicit FirstFrame(QWidget* window) : window_(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint) {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (widget != nullptr && widget->window() == window_) {
                seen_ = true;
                QTimer::singleShot(0, [] {
                    const char byte = 'f';
                    if (write(STDOUT_FILENO, &byte, 1) != 1) {
                        _exit(2);
                    }
                    _exit(0);
                });
            }
        }
        return false;
    }

private:
    QWidget* window_;
    bool seen_ = false;
};

int RunChild(int argc, char** argv, bool bare) {
    QApplication app(argc, argv);
    kelvaro::ui::SetUpJapanese(app);
    kelvaro::ui::QtHost host;
    std::unique_ptr<QMainWindow> window;
    if (bare) {
        window = std::make_unique<QMainWindow>();
        window->menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
        auto* tabs = new QTabWidget;
        auto* page = new QWidget;
        new QLabel(QStringLiteral("作者名"), page);
        tabs->addTab(page, QStringLiteral("１行項目"));
        window->setCentralWidget(tabs);
        window->resize(472, 375);
    } else {
        window = std::make_unique<kelvaro::ui::ReadMeForm>(host, kelvaro::ProgramFolder());
    }
    FirstFrame first(window.get());
    app.installEventFilter(&first);
    window->show();
    return QApplication::exec();
}

// Seconds from fork to the child's first-frame byte.
double TimeChild(const char* self, const char* mode) {
    int fds[2];
    if (pipe(fds) != 0) {
        std::perror("pipe");
        std::exit(1);
    }
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        // Qt's notes about the offscreen platform are not what is measured.
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDERR_FILENO);
        close(fds[0]);
        close(fds[1]);
        execl(self, self, mode, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    char byte = 0;
    const ssize_t got = read(fds[0], &byte, 1);
    const auto end = std::chrono::steady_clock::now();
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (got != 1 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "kelvaro-startup-bench: the %s child showed no frame\n", mode);
        std::exit(1);
    }
    return std::chrono::duration<double>(end - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int Check(int runs) {
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        std::perror("readlink");
        return 1;
    }
    self[length] = '\0';
    setenv("QT_QPA_PLATFORM", "offscreen", 1);

    // One warm-up each (page cache, font cache), then the runs interleaved so
    // that drift on the machine falls on both sides alike.
    TimeChild(self, "--bare");
    TimeChild(self, "--window");
    std::vector<double> bare;
    std::vector<double> window;
    for (int i = 0; i < runs; ++i) {
        bare.push_back(TimeChild(self, "--bare"));
        window.push_back(TimeChild(self, "--window"));
    }
    const double ratio = Median(window) / Median(bare);
    constexpr double kGoal = 1.5;
    std::printf("%-52s %7.2fx  goal <= %5.2fx  %s   (median %.1f ms vs %.1f ms, %d runs)\n",
                "window start-up to first frame / minimal Japanese window", ratio, kGoal,
                ratio <= kGoal ? "ok" : "FAIL", Median(window) * 1e3, Median(bare) * 1e3, runs);
    return ratio <= kGoal ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--window") == 0) {
        return RunChild(argc, argv, false);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--bare") == 0) {
        return RunChild(argc, argv, true);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--check") == 0) {
        return Check(argc >= 3 ? std::max(3, std::atoi(argv[2])) : 21);
    }
    std::fprintf(stderr, "usage: kelvaro-startup-bench --check [runs]\n");
    return 2;
}
