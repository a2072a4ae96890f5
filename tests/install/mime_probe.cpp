// Prints the MIME type Qt's shared-MIME resolver gives each file named on the
// command line, one "file<TAB>type" line each. The install test points it at a
// database built from the staged package files, to see which type a real
// resolver picks for a form and for another program's .ref.
#include <QCoreApplication>
#include <QMimeDatabase>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QMimeDatabase db;
    QTextStream out(stdout);
    const QStringList files = QCoreApplication::arguments().mid(1);
    for (const QString& file : files) {
        out << file << '\t' << db.mimeTypeForFile(file).name() << '\n';
    }
    return files.isEmpty() ? 2 : 0;
}
