// The settings reader against real BRENVITA.INI files written beside a
// stand-in executable folder.
#include "platform/messages.h"
#include "platform/program.h"
#include "platform/suite.h"
#include "platform/text.h"
#include "settings/cores.h"
#include "settings/settings.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <cerrno>
#include <cstring>

using namespace configuracoes;
using namespace plataforma::literais;

namespace {
// The system's reason when a folder is opened as a file.
#ifdef _WIN32
constexpr int kErroPasta = EACCES;
#else
constexpr int kErroPasta = EISDIR;
#endif

std::string rotulo(int numero) { return std::string(definicoes()[static_cast<std::size_t>(numero - 1)].rotulo); }
// A well-formed line: label, the separator, the value from column 50.
std::string linha(int numero, const std::string& valor) { return rotulo(numero) + " " + valor; }

QByteArray junta(const std::vector<std::string>& linhas, const char* fim = "\r\n") {
    QByteArray r;
    for (const auto& l : linhas) r.append(l.data(), static_cast<qsizetype>(l.size())).append(fim);
    return r;
}
}  // namespace

class TstSettings : public QObject {
    Q_OBJECT
    QTemporaryDir pasta_;

    void escreve(const QByteArray& conteudo) {
        QFile f(pasta_.filePath("BRENVITA.INI"));
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(conteudo), conteudo.size());
    }
    void escreve(const std::vector<std::string>& linhas) { escreve(junta(linhas)); }

private slots:
    void initTestCase() {
        QVERIFY(pasta_.isValid());
        plataforma::definePastaExecutavel(pasta_.path().toStdString());
    }
    void init() {
        restauraPadroes();
        QFile::remove(pasta_.filePath("BRENVITA.INI"));
    }

    void tabelaDeRotulos() {
        QSet<QByteArray> vistos;
        for (int n = 1; n <= kQuantidade; ++n) {
            const std::string r = rotulo(n);
            QCOMPARE(r.size(), kTamanhoRotulo);
            QCOMPARE(r.back(), ':');
            QCOMPARE(numeroDoRotulo(r), n);
            vistos.insert(QByteArray::fromStdString(r));
        }
        QCOMPARE(vistos.size(), kQuantidade);
        QCOMPARE(definicoes()[0].nome, "IpServidorCentral");
        QCOMPARE(definicoes()[5].nome, "CorFundoTelas");
        QCOMPARE(definicoes()[11].nome, "UsarFCPrecoVenda");
        QCOMPARE(definicoes()[62].nome, "UsarFatDiluicaoPreco");
        QCOMPARE(definicoes()[68].nome, "TempoLogoff");
        for (const auto& d : definicoes()) QCOMPARE(d.tipo == Tipo::Inteiro, d.nome == "CorFundoTelas");
    }

    // Every label of the list is read into its own place.
    void todosOsRotulos() {
        std::vector<std::string> linhas;
        for (int n = 1; n <= kQuantidade; ++n) linhas.push_back(linha(n, n == 6 ? "6" : "v" + std::to_string(n)));
        escreve(linhas);
        LeConfiguracoes();
        for (int n = 1; n <= kQuantidade; ++n) {
            const std::string esperado = n == 6 ? "6" : plataforma::corta("v" + std::to_string(n), n == 7 ? 3 : 60);
            QCOMPARE(valor(n), esperado);
            QCOMPARE(valor(rotulo(n)), esperado);
        }
        QCOMPARE(IpServidorCentral.str(), "v1");
        QCOMPARE(CaminhoBackupManual, "v5");
        QCOMPARE(CorFundoTelas, 6);
        QCOMPARE(UsarFCPrecoVenda.str(), "v12");
        QCOMPARE(UsarFatDiluicaoPreco.str(), "v63");
        QCOMPARE(TempoLogoff.str(), "v69");
        QCOMPARE(valor(0), "");
        QCOMPARE(valor(132), "");
    }

    void corDeFundo_data() {
        QTest::addColumn<QByteArray>("texto");
        QTest::addColumn<int>("esperado");
        QTest::newRow("decimal") << QByteArray("255") << 255;
        QTest::newRow("hexadecimal de sistema") << QByteArray("$FF00000F") << -16777201;
        QTest::newRow("decimal de sistema") << QByteArray("-16777201") << -16777201;
        QTest::newRow("hex minusculo") << QByteArray("$00ff00") << 0xFF00;
        QTest::newRow("com brancos") << QByteArray("   42   ") << 42;
        QTest::newRow("limites") << QByteArray("-2147483648") << std::numeric_limits<int>::min();
    }
    void corDeFundo() {
        QFETCH(QByteArray, texto);
        QFETCH(int, esperado);
        escreve({linha(6, texto.toStdString())});
        LeConfiguracoes();
        QCOMPARE(CorFundoTelas, esperado);
    }

    void inteiroInvalido_data() {
        QTest::addColumn<QByteArray>("texto");
        for (const char* t : {"", "abc", "12a", "1 2", "\t5", "+", "-", "$", "$G1", "$100000000",
                              "2147483648", "-2147483649", "99999999999999999999", "0x10"})
            QTest::newRow(t) << QByteArray(t);
    }
    void inteiroInvalido() {
        QFETCH(QByteArray, texto);
        QVERIFY(!converteInteiro(texto.toStdString()));
    }

    void inteirosValidos() {
        QCOMPARE(converteInteiro("+7"), std::optional<std::int32_t>(7));
        QCOMPARE(converteInteiro("$FFFFFFFF"), std::optional<std::int32_t>(-1));
        QCOMPARE(converteInteiro("$0000000000FF"), std::optional<std::int32_t>(255));
        QCOMPARE(converteInteiro("2147483647"), std::optional<std::int32_t>(2147483647));
        QCOMPARE(converteInteiro("007"), std::optional<std::int32_t>(7));
    }

    // Reading stops at the bad line: what came before is stored, what follows is not.
    void inteiroInvalidoParaALeitura() {
        UsarFCPrecoVenda = "antes";
        escreve({linha(1, "servidor"), linha(6, "  abc "), linha(12, "Sim"), linha(6, "255")});
        try {
            LeConfiguracoes();
            QFAIL("no error thrown");
        } catch (const plataforma::Erro& e) {
            QCOMPARE(std::string(e.what()), "'abc' não é um valor inteiro válido"_w);
        }
        QCOMPARE(IpServidorCentral.str(), "servidor");
        QCOMPARE(CorFundoTelas, kCorFaceBotao);
        QCOMPARE(UsarFCPrecoVenda.str(), "antes");
    }

    void colunas() {
        const std::string setenta = "ABCDEFGHIJ" + std::string(50, 'x') + "0123456789";
        escreve({rotulo(12) + "Sim",                        // value typed from column 49
                 linha(63, "  Sim  "),
                 linha(5, setenta),                        // unlimited text: the 60 read columns
                 linha(69, setenta),                       // capacity 30
                 linha(1, std::string(65, 'i')),
                 linha(7, "Sim" + std::string(57, ' ') + "depois"),  // past column 109
                 rotulo(2)});                              // label alone: empty value
        LeConfiguracoes();
        QCOMPARE(UsarFCPrecoVenda.str(), "im");
        QCOMPARE(UsarFatDiluicaoPreco.str(), "Sim");
        QCOMPARE(CaminhoBackupManual, setenta.substr(0, 60));
        QCOMPARE(TempoLogoff.str(), setenta.substr(0, 30));
        QCOMPARE(IpServidorCentral.str(), std::string(60, 'i'));
        QCOMPARE(valor(7), "Sim");
        QCOMPARE(valor(2), "");
    }

    void aparaBrancos() {
        QCOMPARE(AparaBrancos("  Sim  "), "Sim");
        QCOMPARE(AparaBrancos(" a b "), "a b");
        QCOMPARE(AparaBrancos("\tSim \t "), "\tSim \t");
        QCOMPARE(AparaBrancos("     "), "");
        QCOMPARE(AparaBrancos(""), "");
    }

    void ultimaOcorrenciaERotulosDesconhecidos() {
        std::string minusculo = rotulo(1);
        for (char& c : minusculo) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::string umPontoAMenos = rotulo(12);
        umPontoAMenos.erase(30, 1);
        escreve({linha(1, "primeiro"), "", "; comentario", linha(1, "segundo"), minusculo + " terceiro",
                 umPontoAMenos + "  Sim", " " + linha(12, "Sim")});
        LeConfiguracoes();
        QCOMPARE(IpServidorCentral.str(), "segundo");
        QCOMPARE(UsarFCPrecoVenda.str(), "");
    }

    void arquivoVazio() {
        IpServidorCentral = "antes";
        CorFundoTelas = 7;
        escreve(QByteArray());
        LeConfiguracoes();
        QCOMPARE(IpServidorCentral.str(), "antes");
        QCOMPARE(CorFundoTelas, 7);
    }

    void arquivoAusente() {
        plataforma::GravadorMensagens gravador;
        int codigo = -1;
        plataforma::interceptaEncerramento([&](int c) { codigo = c; });
        try {
            LeConfiguracoes();
            QFAIL("the program was not ended");
        } catch (const plataforma::ProgramaEncerrado& e) {
            QCOMPARE(e.codigo, 1);
        }
        plataforma::interceptaEncerramento(nullptr);
        QCOMPARE(codigo, 1);
        QCOMPARE(gravador.textos, std::vector<std::string>{
            "Arquivo BRENVITA.INI não encontrado. Execute o programa Vorquell.exe para criá-lo."_w});
    }

    void finsDeLinha_data() {
        QTest::addColumn<QByteArray>("conteudo");
        const std::vector<std::string> l = {linha(1, "srv"), linha(69, "15")};
        QTest::newRow("CR LF") << junta(l, "\r\n");
        QTest::newRow("LF") << junta(l, "\n");
        QTest::newRow("sem fim na ultima") << junta(l, "\r\n").chopped(2);
        QTest::newRow("brancos finais") << junta({linha(1, "srv   "), linha(69, "15 ")}, "\n");
    }
    void finsDeLinha() {
        QFETCH(QByteArray, conteudo);
        escreve(conteudo);
        LeConfiguracoes();
        QCOMPARE(IpServidorCentral.str(), "srv");
        QCOMPARE(TempoLogoff.str(), "15");
    }

    // A file of CR-only line ends is one line: only its first label counts.
    void somenteCR() {
        escreve(junta({linha(1, "srv"), linha(69, "15")}, "\r"));
        LeConfiguracoes();
        QVERIFY(IpServidorCentral.str().starts_with("srv\r"));
        QCOMPARE(TempoLogoff.str(), "");
    }

    void entradasHostis() {
        QByteArray lixo(1 << 20, Qt::Uninitialized);
        QRandomGenerator gerador(1234);
        for (auto& c : lixo) c = static_cast<char>(gerador.bounded(256));
        escreve(lixo);
        try {
            LeConfiguracoes();
        } catch (const plataforma::Erro&) {
            // a garbage colour may legitimately stop the reading
        }

        restauraPadroes();
        escreve(QByteArray::fromStdString(linha(1, "srv " + std::string(10 << 20, 'x')) + "\r\n" +
                                          linha(12, "Sim")));
        LeConfiguracoes();
        QCOMPARE(IpServidorCentral.str(), "srv " + std::string(56, 'x'));
        QCOMPARE(UsarFCPrecoVenda.str(), "Sim");
    }

    void leitorPuroSemArquivo() {
        const Leitura r = leConfiguracoes({linha(6, "$FF"), linha(12, "Sim")});
        QVERIFY(!r.erro);
        QCOMPARE(std::get<std::int32_t>(*r.valores[5]), 255);
        QCOMPARE(std::get<std::string>(*r.valores[11]), "Sim");
        QVERIFY(!r.valores[0]);
        QCOMPARE(CorFundoTelas, kCorFaceBotao);  // nothing stored by the pure reader
        // A folder can't be read: the message names the file, its path and the reason.
        const auto erro = leArquivoConfiguracoes(pasta_.path().toStdString()).erro;
        QVERIFY(erro && erro->find(pasta_.path().toStdString()) != std::string::npos);
        QVERIFY(erro->find(std::strerror(kErroPasta)) != std::string::npos);
    }

    // Lines meant for a label that the reader ignores or cuts.
    void defeitosDasLinhas() {
        using T = Defeito::Tipo;
        auto defeito = [](const std::string& l) { return defeitoDaLinha(l); };
        std::string pontoAMenos = rotulo(1);
        pontoAMenos.erase(30, 1);
        QCOMPARE(defeito(pontoAMenos + "  127.0.0.1")->tipo, T::RotuloParecido);
        QCOMPARE(defeito(pontoAMenos + "  127.0.0.1")->numero, 1);
        QCOMPARE(defeito(rotulo(69).insert(5, ".") + "15")->numero, 69);  // a dot too many
        QCOMPARE(defeito(plataforma::minusculasAscii(linha(12, "Sim")))->numero, 12);
        QCOMPARE(defeito(rotulo(1) + "127.0.0.1")->tipo, T::ValorNaColuna49);
        QVERIFY(!defeito(linha(1, "127.0.0.1")));
        QVERIFY(!defeito(rotulo(1) + "\t127.0.0.1"));
        QVERIFY(!defeito(rotulo(1)));
        QVERIFY(!defeito("# IP DO SERVIDOR CENTRAL: o servidor"));  // a comment
        QVERIFY(!defeito("OUTRA COISA...........: x"));
        QVERIFY(!defeito(""));
    }

    void cores() {
        QPalette p;
        p.setColor(QPalette::Button, QColor(1, 2, 3));
        p.setColor(QPalette::Base, QColor(4, 5, 6));
        p.setColor(QPalette::Highlight, QColor(7, 8, 9));
        QCOMPARE(corDaConfiguracao(255, p), QColor(255, 0, 0));
        QCOMPARE(corDaConfiguracao(0x00FF0000, p), QColor(0, 0, 255));
        QCOMPARE(corDaConfiguracao(0x00123456, p), QColor(0x56, 0x34, 0x12));
        QCOMPARE(corDaConfiguracao(kCorFaceBotao, p), QColor(1, 2, 3));
        QCOMPARE(corDaConfiguracao(static_cast<std::int32_t>(0xFF000005u), p), QColor(4, 5, 6));
        QCOMPARE(corDaConfiguracao(static_cast<std::int32_t>(0xFF00000Du), p), QColor(7, 8, 9));
        QCOMPARE(corDaConfiguracao(static_cast<std::int32_t>(0xFF0000FFu), p), QColor(1, 2, 3));
        QCOMPARE(corDaConfiguracao(static_cast<std::int32_t>(0x80000000u), p), QColor(1, 2, 3));
        QCOMPARE(corDaConfiguracao(kCorFaceBotao), QGuiApplication::palette().color(QPalette::Button));
    }
};

QTEST_MAIN(TstSettings)
#include "tst_settings.moc"
