#include "signon/codificacao.h"

#include <QRandomGenerator>
#include <QtTest>

using identificacao::CodificarTexto;
using identificacao::temDireito;

namespace {

// The encoding done the long way, on an explicit bit string, to check the
// byte-wise shortcut for every length.
std::string codificaPorBits(const std::string& t) {
    std::vector<int> bits;
    for (unsigned char c : t)
        for (int b = 7; b >= 0; --b) bits.push_back((c >> b) & 1);
    std::rotate(bits.begin(), bits.begin() + (bits.empty() ? 0 : 3), bits.end());
    std::string r;
    for (std::size_t g = t.size(); g-- > 0;) {
        int v = 0;
        for (int b = 0; b < 8; ++b) v = v * 2 + bits[g * 8 + static_cast<std::size_t>(b)];
        r.push_back(static_cast<char>('A' + v / 16));
        r.push_back(static_cast<char>('A' + v % 16));
    }
    return r;
}

}  // namespace

class TstCodificacao : public QObject {
    Q_OBJECT
private slots:
    void exemplos() {
        QCOMPARE(CodificarTexto("ABC"), std::string("BKBCAK"));
        QCOMPARE(CodificarTexto("A"), std::string("AK"));
        QCOMPARE(CodificarTexto(""), std::string());
        QCOMPARE(CodificarTexto(std::string_view("\0", 1)), std::string("AA"));
        QCOMPARE(CodificarTexto("\xFF\xFF"), std::string("PPPP"));
    }

    void todosOsComprimentos() {
        QRandomGenerator gerador(7);
        for (int tamanho = 0; tamanho <= 80; ++tamanho) {
            for (int rep = 0; rep < 20; ++rep) {
                std::string t;
                for (int i = 0; i < tamanho; ++i) t.push_back(static_cast<char>(gerador.bounded(256)));
                const std::string c = CodificarTexto(t);
                QCOMPARE(c, codificaPorBits(t));
                QCOMPARE(c.size(), 2 * t.size());
                for (char l : c) QVERIFY(l >= 'A' && l <= 'P');
            }
        }
    }

    void direitosPorPosicao() {
        // Initial 'M' (77): login right at 2 is 77+3, reuse at 7 is 77+8, financial at 24 is 77+25.
        std::string direitos(30, '-');
        direitos[1] = static_cast<char>(77 + 3);
        direitos[6] = static_cast<char>(77 + 8);
        direitos[23] = static_cast<char>(77 + 25);
        QVERIFY(temDireito(direitos, "MARIA", identificacao::kDireitoLogin));
        QVERIFY(temDireito(direitos, "MARIA", identificacao::kDireitoReusarLogon));
        QVERIFY(temDireito(direitos, "MARIA", identificacao::kDireitoFinanceiro));
        QVERIFY(!temDireito(direitos, "MARIA", 3));
        // Another initial reads the same string differently.
        QVERIFY(!temDireito(direitos, "JOAO", identificacao::kDireitoLogin));
        // Only the first character of the name counts.
        QVERIFY(temDireito(direitos, "M", identificacao::kDireitoLogin));
    }

    void direitosNosLimites() {
        const std::string curto = std::string(1, '-') + static_cast<char>('M' + 3);
        QVERIFY(temDireito(curto, "M", 2));
        QVERIFY(!temDireito(curto, "M", 3));           // beyond the end
        QVERIFY(!temDireito(curto, "M", 24));          // short string: no financial right
        QVERIFY(!temDireito(curto, "M", 0));
        QVERIFY(!temDireito(curto, "M", -1));
        QVERIFY(!temDireito(curto, "", 2));            // no initial
        QVERIFY(!temDireito("", "M", 1));
        // The sum wraps at 256: initial 0xFE at position 2 wants code 1.
        QVERIFY(temDireito(std::string("-\x01", 2), "\xFE", 2));
        QVERIFY(!temDireito(std::string("-\xFF", 2), "\xFE", 2));
    }
};

QTEST_GUILESS_MAIN(TstCodificacao)
#include "tst_codificacao.moc"
