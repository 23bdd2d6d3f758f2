#pragma once
// Files as a damaged disk or a careless hand leaves them, for the tests of what
// the program reads.
#include <QByteArray>
#include <QFile>
#include <QRandomGenerator>
#include <QTest>

namespace arquivosteste {

// Bytes of no meaning, the same for the same seed.
inline QByteArray lixo(int tamanho, quint32 semente) {
    QByteArray b(tamanho, Qt::Uninitialized);
    QRandomGenerator gerador(semente);
    for (char& c : b) c = static_cast<char>(gerador.bounded(256));
    return b;
}

inline void grava(const QString& caminho, const QByteArray& conteudo) {
    QFile f(caminho);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(conteudo), conteudo.size());
}

}  // namespace arquivosteste
