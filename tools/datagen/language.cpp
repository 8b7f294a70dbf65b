#include "language.h"

#include "canvas.h"

#include <QFile>

#include <map>
#include <stdexcept>

namespace tarmacia::datagen {

int writeLanguage(const QString& sourcePath, const QString& targetPath) {
    QFile source(sourcePath);
    if (!source.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("cannot read " + sourcePath.toStdString());

    std::map<int, QString> strings;
    int lineNumber = 0;
    while (!source.atEnd()) {
        ++lineNumber;
        const QString line = QString::fromUtf8(source.readLine()).remove('\n').remove('\r');
        if (line.trimmed().isEmpty() || line.trimmed().startsWith('#')) continue;
        const qsizetype colon = line.indexOf(':');
        bool ok = false;
        const int number = colon > 0 ? line.left(colon).trimmed().toInt(&ok) : -1;
        const auto where = QStringLiteral("%1:%2: ").arg(sourcePath).arg(lineNumber);
        if (!ok || number < 0)
            throw std::runtime_error((where + "expected \"N: text\"").toStdString());
        if (!strings.emplace(number, line.mid(colon + 1).trimmed()).second)
            throw std::runtime_error((where + "string number given twice").toStdString());
    }
    if (!strings.count(0)) throw std::runtime_error(sourcePath.toStdString() + ": no header (0:)");

    const int last = strings.rbegin()->first;
    QString text;
    for (int n = 0; n <= last; ++n) {
        if (const auto found = strings.find(n); found != strings.end()) text += found->second;
        text += QStringLiteral("\r\n");
    }
    QByteArray bytes("\xFF\xFE", 2);
    for (const QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    saveFile(bytes, targetPath);
    return last;
}

} // namespace tarmacia::datagen
