// quorvel-password PASSWORD [KEY]: prints the PASSWORD_ value of viri.ini for PASSWORD,
// under the hexadecimal KEY (four digits) or a random one.
#include "db/Password.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTextStream>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.isEmpty() || args.size() > 2 || args.first() == QLatin1String("--help")) {
        err << "usage: quorvel-password PASSWORD [KEY]\n"
               "Prints the value for PASSWORD_ in viri.ini; KEY is four hexadecimal digits\n"
               "(random when not given).\n";
        return args.isEmpty() || args.size() > 2 ? 2 : 0;
    }
    quint16 key = quint16(QRandomGenerator::system()->bounded(1, 0x10000));
    if (args.size() == 2) {
        bool ok = false;
        const uint k = args.at(1).toUInt(&ok, 16);
        if (!ok || k > 0xFFFF || args.at(1).size() > 4) {
            err << "KEY must be at most four hexadecimal digits\n";
            return 2;
        }
        key = quint16(k);
    }
    out << EncodePassword(args.first(), key) << '\n';
    return 0;
}
