// The support check's findings, each from the fault that causes it: settings
// file, server address, client library, server, suite folder, tutorial
// database, login marker.
#include "app/verificacao.h"
#include "platform/files.h"
#include "platform/suite.h"
#include "platform/text.h"
#include "settings/settings.h"
#include "support/dbtest.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace verificacao;
using namespace plataforma::literais;

namespace {

bool contem(const std::string& texto, const std::string& trecho) { return texto.find(trecho) != std::string::npos; }

// The findings on `assunto` at `nivel` whose text holds every fragment.
bool achou(const Relatorio& r, Nivel nivel, const std::string& assunto, std::initializer_list<std::string> trechos) {
    for (const Achado& a : r.achados()) {
        if (a.nivel != nivel || a.assunto != assunto) continue;
        if (std::all_of(trechos.begin(), trechos.end(), [&](const std::string& t) { return contem(a.texto, t); }))
            return true;
    }
    return false;
}

Relatorio roda(Verificacao v, Contexto& ctx) {
    Relatorio r;
    v(ctx, r);
    return r;
}

// Read-only even for root: the mode bits, and the immutable flag where the
// file system and the privileges allow it; on Windows the read-only attribute.
// false when neither holds.
bool protegeEscrita(const QString& caminho, bool protege) {
    const std::string c = caminho.toStdString();
#ifdef _WIN32
    return SetFileAttributesA(c.c_str(), protege ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
#else
    if (geteuid() == 0) {
        const int fd = open(c.c_str(), O_RDONLY | O_NONBLOCK);
        if (fd < 0) return false;
        int flags = 0;
        bool ok = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = protege ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ok && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        close(fd);
        return ok;
    }
    return chmod(c.c_str(), protege ? 0555 : 0755) == 0;
#endif
}

}  // namespace

class TstVerificacao : public QObject {
    Q_OBJECT
    QTemporaryDir pasta_;

    // As the program names it: with backslashes on Windows.
    QString caminho(const QString& nome) const { return QDir::toNativeSeparators(pasta_.filePath(nome)); }
    void escreveIni(const std::vector<std::string>& linhas) {
        QVERIFY(plataforma::gravaLinhas(caminho("BRENVITA.INI").toStdString(), linhas));
    }
    static std::string linha(const std::string& rotulo, const std::string& valor) {
        std::string l = rotulo;
        l.resize(48, ' ');
        return l + " " + valor;
    }

private slots:
    void initTestCase() {
        QVERIFY(pasta_.isValid());
        plataforma::definePastaExecutavel(QDir::toNativeSeparators(pasta_.path()).toStdString());
        plataforma::definePastaSuite(caminho("suite").toStdString());
        dbteste::preparaAmbiente();
    }
    void init() {
        configuracoes::restauraPadroes();
        QFile::remove(caminho("BRENVITA.INI"));
        QDir(caminho("suite")).removeRecursively();
    }

    // Missing, unreadable, and lines the reader would ignore or cut; the whole
    // check goes on past a missing file.
    void arquivoDeConfiguracoes() {
        Relatorio r = verificaInstalacao(nullptr);
        QVERIFY(achou(r, Nivel::Falha, "BRENVITA.INI",
                      {caminho("BRENVITA.INI").toStdString(), "No such file or directory", "BRENVITA.INI.exemplo"}));
        QVERIFY(achou(r, Nivel::Falha, "TUTORIAL.BD", {"tutorial.sql"}));
        QVERIFY(!r.aprovado());

        QDir().mkdir(caminho("BRENVITA.INI"));
        Contexto ctx;
#ifdef _WIN32
        const char* const lendoPasta = "Permission denied";
#else
        const char* const lendoPasta = "Is a directory";
#endif
        QVERIFY(achou(roda(verificaConfiguracoes, ctx), Nivel::Falha, "BRENVITA.INI", {lendoPasta}));
        QDir().rmdir(caminho("BRENVITA.INI"));

        escreveIni({"# comment: ignored",
                    linha("IP DO SERVIDOR CENTRAL........................:", "127.0.0.1"),  // a dot too few
                    "USAR F.C. NO PRECO DE VENDA....................:Sim",                   // value in column 49
                    linha("tempo para logoff automatico...................:", "30"),
                    linha("MODELO DA REQUISICAO..........................:", "2"),           // not used here
                    linha("COR DE FUNDO DAS TELAS.........................:", "255")});
        r = roda(verificaConfiguracoes, ctx);
        QVERIFY(ctx.configuracoesLidas);
        QVERIFY(achou(r, Nivel::Falha, "BRENVITA.INI linha 2", {"IP DO SERVIDOR CENTRAL....", "ignorada"}));
        QVERIFY(achou(r, Nivel::Falha, "BRENVITA.INI linha 3", {"coluna 49", "\"im\""}));
        QVERIFY(achou(r, Nivel::Falha, "BRENVITA.INI linha 4", {"TEMPO PARA LOGOFF AUTOMATICO"}));
        QVERIFY(achou(r, Nivel::Aviso, "BRENVITA.INI linha 5", {"MODELO DA REQUISICAO"}));
        QVERIFY(achou(r, Nivel::Ok, "CorFundoTelas", {"\"255\""}));
        QCOMPARE(r.achados().size(), 1u + 4u + 5u);  // the file, four lines, the five settings used

        escreveIni({linha("COR DE FUNDO DAS TELAS.........................:", "azul")});
        QVERIFY(achou(roda(verificaConfiguracoes, ctx), Nivel::Falha, "BRENVITA.INI", {"'azul'"}));
    }

    void enderecoDoServidor() {
        Contexto ctx;
        ctx.configuracoesLidas = true;
        QVERIFY(achou(roda(verificaEnderecoServidor, ctx), Nivel::Falha, "Servidor", {"vazio"}));
        IpServidorCentral = "10.0.0.5:3050";
        QVERIFY(achou(roda(verificaEnderecoServidor, ctx), Nivel::Falha, "Servidor", {"10.0.0.5/3050"}));
        QVERIFY(ctx.servidor.empty());
        IpServidorCentral = "10.0.0.5/3050";
        QVERIFY(roda(verificaEnderecoServidor, ctx).aprovado());
        QCOMPARE(ctx.servidor, "10.0.0.5/3050");
    }

    void bibliotecaCliente() {
        Contexto ctx;
#ifdef _WIN32
        // gds32.dll, then fbclient.dll, through the system's search; here there is
        // neither unless a client was installed.
        Relatorio r = roda(verificaBibliotecaCliente, ctx);
        QVERIFY(ctx.bibliotecaCarregada ||
                achou(r, Nivel::Falha, "Biblioteca cliente",
                      {"\"gds32.dll\" (", "nem \"fbclient.dll\" (", "sem CaminhoGDS.txt", "fbclient.dll, da vers"}));
        // The folder the path file names, without its final backslash: its
        // GDS32.DLL, then its fbclient.dll; a DLL there that is no client is refused.
        // Outside the suite folder: a loaded DLL can't be deleted with it.
        const QString pasta = caminho("cliente");
        QDir().mkpath(pasta);
        QDir().mkpath(caminho("suite"));
        QVERIFY(plataforma::gravaLinhas(caminho("suite/CaminhoGDS.txt").toStdString(), {pasta.toStdString()}));
        ctx = {};
        QVERIFY(achou(roda(verificaBibliotecaCliente, ctx), Nivel::Falha, "Biblioteca cliente",
                      {(pasta + "\\GDS32.DLL").toStdString(), (pasta + "\\fbclient.dll").toStdString(),
                       "CaminhoGDS.txt)"}));
        char outraDll[MAX_PATH];
        QVERIFY(GetModuleFileNameA(GetModuleHandleA("libgcc_s_seh-1.dll"), outraDll, MAX_PATH) > 0);
        QVERIFY(QFile::copy(QString::fromLocal8Bit(outraDll), pasta + "\\fbclient.dll"));
        ctx = {};
        QVERIFY(achou(roda(verificaBibliotecaCliente, ctx), Nivel::Falha, "Biblioteca cliente",
                      {(pasta + "\\fbclient.dll").toStdString(), "fb_get_master_interface"}));
#else
        QVERIFY(achou(roda(verificaBibliotecaCliente, ctx), Nivel::Ok, "Biblioteca cliente",
                      {"libfbclient.so.2", "sem CaminhoGDS.txt", "/"}));
        QVERIFY(ctx.bibliotecaCarregada);
        QDir().mkpath(caminho("suite/vazia"));
        QVERIFY(plataforma::gravaLinhas(caminho("suite/CaminhoGDS.txt").toStdString(),
                                        {caminho("suite/vazia").toStdString()}));
        ctx = {};
        QVERIFY(achou(roda(verificaBibliotecaCliente, ctx), Nivel::Falha, "Biblioteca cliente",
                      {caminho("suite/vazia/libfbclient.so.2").toStdString(), "CaminhoGDS.txt", "libfbclient2"}));
#endif
        QVERIFY(!ctx.bibliotecaCarregada);
    }

    // The three ways a connection fails are told apart.
    void servidor() {
        EXIGE_BANCO();
        Contexto ctx;
        ctx.biblioteca = dados::fb::nomeBibliotecaCliente("");
        ctx.bibliotecaCarregada = true;
        ctx.servidor = dbteste::servidor();
        QVERIFY(achou(roda(verificaServidor, ctx), Nivel::Ok, "Servidor", {"conectado a " + dbteste::servidor()}));
        QVERIFY(ctx.suite && ctx.suite->aberta());

        Contexto senha = {};
        senha.biblioteca = ctx.biblioteca;
        senha.bibliotecaCarregada = true;
        senha.servidor = dbteste::servidor();
        senha.parametros.senha = "errada";
        QVERIFY(achou(roda(verificaServidor, senha), Nivel::Falha, "Servidor",
                      {"usuário sysdba ou a senha foi recusado"_w}));

        senha.parametros = {};
        senha.banco = "C:\\outro\\banco.bd";
        QVERIFY(achou(roda(verificaServidor, senha), Nivel::Falha, "Servidor",
                      {"alias \"C:\\outro\\banco.bd\" foi recusado", "databases.conf"}));

        senha.banco = ctx.banco;
        senha.servidor = "127.0.0.1/1";
        QVERIFY(achou(roda(verificaServidor, senha), Nivel::Falha, "Servidor", {"sem resposta em 127.0.0.1/1"}));
        QVERIFY(!senha.suite);
    }

    // As the program's own user (db/privilegios.sql) the check passes, the
    // indexes included; a user without the role is told what to run.
    void login() {
        EXIGE_BANCO();
        auto sysdba = dbteste::conectaSuite();
        dbteste::criaUsuarioPrograma(*sysdba);
        const auto verifica = [] {
            Contexto ctx;
            ctx.biblioteca = dados::fb::nomeBibliotecaCliente("");
            ctx.bibliotecaCarregada = true;
            ctx.servidor = dbteste::servidor();
            Relatorio r;
            for (Verificacao v : {verificaLogin, verificaServidor, verificaSenhaDoPrograma, verificaPrivilegios,
                                  verificaIndices})
                v(ctx, r);
            return r;
        };
        auto comoPrograma = dbteste::comoUsuarioPrograma();
        Relatorio r = verifica();
        QVERIFY(achou(r, Nivel::Ok, "Login", {"o usuário de ISC_USER"_w}));
        QVERIFY(achou(r, Nivel::Aviso, "Login", {"aceita SYSDBA", "troque-a"}));  // the test server does
        QVERIFY(achou(r, Nivel::Ok, "Privilégios"_w, {}));
        QVERIFY(r.aprovado() && !achou(r, Nivel::Aviso, "Índices"_w, {}));

        sysdba->executa("create or alter user SEMPAPEL password 's3mp4p3l' using plugin Srp");
        qputenv("ISC_USER", "SEMPAPEL");
        qputenv("ISC_PASSWORD", "s3mp4p3l");
        QVERIFY(achou(verifica(), Nivel::Falha, "Privilégios"_w, {"no permission", "privilegios.sql", "ROLENAME"}));
    }

    void pastaDaSuite() {
        Contexto ctx;
        QVERIFY(achou(roda(verificaPastaSuite, ctx), Nivel::Falha, "Pasta da suíte"_w, {"não existe"_w}));
        QDir().mkpath(caminho("suite"));
        Relatorio r = roda(verificaPastaSuite, ctx);
        QVERIFY(r.aprovado());
        QVERIFY(achou(r, Nivel::Ok, "Tutorial.ini", {"ausente"}));

        QVERIFY(plataforma::gravaLinhas(caminho("suite/Tutorial.ini").toStdString(), {"x"}));
        if (!protegeEscrita(caminho("suite/Tutorial.ini"), true)) QSKIP("no way to make a file read-only here");
        r = roda(verificaPastaSuite, ctx);
        protegeEscrita(caminho("suite/Tutorial.ini"), false);
        QVERIFY(achou(r, Nivel::Falha, "Tutorial.ini", {"leitura e grava"}));

#ifndef _WIN32  // a Windows folder's read-only attribute doesn't stop writing in it
        QVERIFY(protegeEscrita(caminho("suite"), true));
        r = roda(verificaPastaSuite, ctx);
        protegeEscrita(caminho("suite"), false);
        QVERIFY(achou(r, Nivel::Falha, "Pasta da suíte"_w, {"gravar e apagar"}));
#endif
    }

    void bancoDoTutorial() {
        Contexto ctx;
        QVERIFY(achou(roda(verificaTutorial, ctx), Nivel::Falha, "TUTORIAL.BD", {"não existe"_w, "tutorial.sql"}));
        EXIGE_CLIENTE();
        QDir().mkpath(caminho("suite"));
        QVERIFY(plataforma::gravaLinhas(caminho("suite/TUTORIAL.BD").toStdString(), {"not a database"}));
        QVERIFY(achou(roda(verificaTutorial, ctx), Nivel::Falha, "TUTORIAL.BD", {"embutido"}));
        dbteste::criaTutorialEmbutido(caminho("suite").toStdString());
        QVERIFY(achou(roda(verificaTutorial, ctx), Nivel::Ok, "TUTORIAL.BD", {"TUTORIAL.BD"}));
    }

    void marcaSaltaCad() {
        const QString atual = QDir::currentPath();
        QDir::setCurrent(pasta_.path());
        Contexto ctx;
        QVERIFY(achou(roda(verificaSaltaCad, ctx), Nivel::Ok, "SaltaCad.db", {"ausente"}));
        QVERIFY(plataforma::gravaLinhas("SaltaCad.db", {}));
        const Relatorio r = roda(verificaSaltaCad, ctx);
        QFile::remove("SaltaCad.db");
        QDir::setCurrent(atual);
        QVERIFY(achou(r, Nivel::Aviso, "SaltaCad.db", {"login é pulado"_w}));
        QVERIFY(r.aprovado());
    }
};

QTEST_GUILESS_MAIN(TstVerificacao)
#include "tst_verificacao.moc"
