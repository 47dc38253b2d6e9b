#include "shell/ApplicationMain.h"

#include <QApplication>
#include <QIcon>

using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(u"Lexicarta"_s);
    QApplication::setApplicationDisplayName(u"Lexicarta"_s);
    QApplication::setApplicationVersion(QString::fromLatin1(LEXICARTA_VERSION));
    QApplication::setDesktopFileName(u"org.lexicarta.Lexicarta"_s);
    QApplication::setWindowIcon(QIcon(u":/images/lexicarta.svg"_s));
    return lexi::runLexicarta(application);
}
