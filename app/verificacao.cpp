#include "app/verificacao.h"

#include "data/conexao.h"
#include "data/indices.h"

#include "app/opcoes.h"
#include "platform/files.h"
#include "platform/suite.h"
#include "platform/text.h"
#include "settings/settings.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <unistd.h>

using namespace plataforma::literais;

namespace verificacao {
namespace {

// The settings this program uses: a fault in their lines changes what it does.
constexpr int kUsadas[] = {1, 6, 12, 63, 69};

// A path of the system (local 8-bit) as program text.
std::string caminho(const std::string& local) {
    return plataforma::deQString(QString::fromLocal8Bit(local.c_str()));
}

std::string entreAspas(const std::string& t) { return "\"" + t + "\""; }

// Empty when the program can read and write it; else the system's reason.
std::string semAcesso(const std::string& local) {
    return access(local.c_str(), R_OK | W_OK) == 0 ? std::string() : std::strerror(errno);
}

const configuracoes::Definicao& definicao(int numero) {
    return configuracoes::definicoes()[static_cast<std::size_t>(numero - 1)];
}
std::string rotulo(int numero) { return std::string(definicao(numero).rotulo); }

// What to do about a file the program must read and write but can't.
std::string semAcessoAoArquivo(const std::string& arquivo, const std::string& motivo) {
    return caminho(arquivo) + ": " + motivo + ". Dê ao usuário leitura e gravação do arquivo."_w;
}

std::string arquivoConfiguracoes() { return plataforma::pastaExecutavel() + "BRENVITA.INI"; }

// What this system's installation is made of, for the advice of the findings.
#ifdef _WIN32
std::string pastaDosSql() { return plataforma::pastaExecutavel() + "capsulas-sql\\"; }
const char* const kIsql = "o isql do banco de dados";
const char* const kInstaleCliente =
    "Instale o cliente do banco de dados (fbclient.dll, da versão 3 ou mais nova) nesta estação, ou faça a "
    "primeira linha de CaminhoGDS.txt nomear a pasta que contém gds32.dll ou fbclient.dll";
const char* const kMotorEmbutido = "do motor embutido (plugins\\engine12.dll ao lado da biblioteca cliente)";
#else
std::string pastaDosSql() { return "/usr/share/capsulas/"; }
const char* const kIsql = "isql-fb";
const char* const kInstaleCliente =
    "Instale o pacote libfbclient2, ou faça a primeira linha de CaminhoGDS.txt nomear a pasta que contém "
    "libfbclient.so.2";
const char* const kMotorEmbutido = "do pacote firebird3.0-server-core";
#endif

void verificaLinha(int numeroLinha, const std::string& linha, Relatorio& r) {
    const auto defeito = configuracoes::defeitoDaLinha(linha);
    if (!defeito) return;
    const bool usada = std::find(std::begin(kUsadas), std::end(kUsadas), defeito->numero) != std::end(kUsadas);
    const std::string assunto = "BRENVITA.INI linha " + std::to_string(numeroLinha);
    std::string texto;
    if (defeito->tipo == configuracoes::Defeito::Tipo::RotuloParecido) {
        texto = entreAspas(linha.substr(0, linha.find(':') + 1)) + " não é o rótulo "_w +
                entreAspas(rotulo(defeito->numero)) +
                " (maiúsculas e pontos exatos, os dois-pontos na coluna 48): a linha é ignorada. "
                "Copie o rótulo de BRENVITA.INI.exemplo."_w;
    } else {
        const std::string lido = AparaBrancos(std::string_view(linha).substr(configuracoes::kInicioValor,
                                                                             configuracoes::kTamanhoValor));
        texto = "o valor de "_w + entreAspas(rotulo(defeito->numero)) +
                " começa na coluna 49, que não é lida: o programa lê "_w + entreAspas(lido) +
                ". Deixe a coluna 49 em branco e comece o valor na coluna 50."_w;
    }
    r.anota(usada ? Nivel::Falha : Nivel::Aviso, assunto, texto);
}

// host:port instead of the host/port the client expects.
bool portaComDoisPontos(const std::string& endereco) {
    const auto p = endereco.rfind(':');
    if (p == std::string::npos || p + 1 == endereco.size() || endereco.find('/') != std::string::npos ||
        endereco.front() == '[')
        return false;
    return std::all_of(endereco.begin() + static_cast<std::ptrdiff_t>(p) + 1, endereco.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

std::string semPonto(std::string t) {
    if (!t.empty() && t.back() == '.') t.pop_back();
    return t;
}

std::string semQuebras(std::string t) {
    std::replace(t.begin(), t.end(), '\n', ' ');
    return t;
}

}  // namespace

void Relatorio::anota(Nivel nivel, const std::string& assunto, const std::string& texto) {
    achados_.push_back({nivel, assunto, texto});
    if (!saida_) return;
    const char* palavra = nivel == Nivel::Ok ? "OK" : nivel == Nivel::Aviso ? "AVISO" : "FALHA";
    std::fprintf(saida_, "%-5s %s: %s\n", palavra, plataforma::paraQString(assunto).toUtf8().constData(),
                 plataforma::paraQString(texto).toUtf8().constData());
    std::fflush(saida_);
}

bool Relatorio::aprovado() const {
    return std::none_of(achados_.begin(), achados_.end(), [](const Achado& a) { return a.nivel == Nivel::Falha; });
}

void verificaVersao(Contexto&, Relatorio& r) {
    r.ok("Versão"_w, std::string("capsulas ") + aplicacao::versaoPrograma());
}

void verificaConfiguracoes(Contexto& ctx, Relatorio& r) {
    const std::string arquivo = arquivoConfiguracoes();
    const auto linhas = plataforma::leLinhas(arquivo, configuracoes::kInicioValor + configuracoes::kTamanhoValor);
    if (!linhas) {
        const int motivo = errno;
        const bool ausente = !std::filesystem::exists(arquivo);
        r.falha("BRENVITA.INI", caminho(arquivo) + ": " + std::strerror(motivo) +
                                    (ausente ? ". Copie BRENVITA.INI.exemplo desta pasta para BRENVITA.INI e "
                                               "preencha o endereço do servidor."_w
                                             : ". Dê ao usuário permissão de leitura do arquivo."_w));
        return;
    }
    r.ok("BRENVITA.INI", caminho(arquivo));
    const configuracoes::Leitura leitura = configuracoes::leConfiguracoes(*linhas);
    configuracoes::guarda(leitura);
    ctx.configuracoesLidas = true;
    if (leitura.erro)
        r.falha("BRENVITA.INI", *leitura.erro + ": a leitura para nessa linha e as seguintes não valem. "
                                                "Corrija o valor (número decimal, ou $ e hexadecimal)."_w);
    for (std::size_t i = 0; i < linhas->size(); ++i) verificaLinha(static_cast<int>(i + 1), (*linhas)[i], r);
    for (int n : kUsadas) r.ok(std::string(definicao(n).nome), entreAspas(configuracoes::valor(n)));
}

void verificaEnderecoServidor(Contexto& ctx, Relatorio& r) {
    const std::string endereco = IpServidorCentral.str();
    ctx.servidor.clear();
    if (!ctx.configuracoesLidas) return;  // the settings file's fault is reported already
    if (endereco.empty()) {
        r.falha("Servidor", "o endereço está vazio. Escreva-o no BRENVITA.INI, na linha "_w +
                                entreAspas(rotulo(1)) + ", a partir da coluna 50 (ex.: 192.168.0.10/3050).");
    } else if (portaComDoisPontos(endereco)) {
        const auto doisPontos = endereco.rfind(':');
        r.falha("Servidor", entreAspas(endereco) + " separa a porta com dois-pontos; escreva-a com barra: " +
                                endereco.substr(0, doisPontos) + "/" + endereco.substr(doisPontos + 1) + ".");
    } else {
        ctx.servidor = endereco;
        r.ok("Banco da suíte"_w, dados::localBancoSuite(endereco));
    }
}

void verificaBibliotecaCliente(Contexto& ctx, Relatorio& r) {
    const std::string caminhoGds = plataforma::caminhoSuite("CaminhoGDS.txt");
    ctx.biblioteca = dados::bibliotecaClienteSuite();
    const std::string origem = plataforma::arquivoExiste(caminhoGds)
                                   ? " (pasta lida de "_w + caminho(caminhoGds) + ")"
                                   : " (sem CaminhoGDS.txt: busca de bibliotecas do sistema)";
    try {
        const std::string arquivo = dados::fb::carregaCliente(ctx.biblioteca);
        ctx.bibliotecaCarregada = true;
        r.ok("Biblioteca cliente", caminho(ctx.biblioteca) + origem + ": " + caminho(arquivo));
    } catch (const std::exception& e) {
        r.falha("Biblioteca cliente",
                caminho(ctx.biblioteca) + origem + ": " + semPonto(semQuebras(e.what())) + ". " +
                    plataforma::deQString(QString::fromUtf8(kInstaleCliente)) + ".");
    }
}

void verificaLogin(Contexto& ctx, Relatorio& r) {
    ctx.login = dados::aplicaLoginDoAmbiente(ctx.parametros);
    const auto incompleto = [&r](const char* dada, const char* falta) {
        r.aviso("Login", std::string(dada) + " sem " + falta +
                             ": o programa entra como SYSDBA com a senha do programa. Defina as duas variáveis "
                             "para todos os usuários desta estação (guia do administrador)."_w);
    };
    switch (ctx.login) {
        case dados::OrigemLogin::Programa:
            r.ok("Login", "SYSDBA com a senha do programa (sem ISC_USER e ISC_PASSWORD)");
            break;
        case dados::OrigemLogin::Ambiente:
            r.ok("Login", "o usuário de ISC_USER, com a senha de ISC_PASSWORD"_w);
            break;
        case dados::OrigemLogin::SoUsuario: incompleto("ISC_USER", "ISC_PASSWORD"); break;
        case dados::OrigemLogin::SoSenha: incompleto("ISC_PASSWORD", "ISC_USER"); break;
    }
}

void verificaServidor(Contexto& ctx, Relatorio& r) {
    if (ctx.servidor.empty() || !ctx.bibliotecaCarregada) return;  // already reported
    const std::string& endereco = ctx.servidor;
    const std::string& alias = ctx.banco;
    auto c = std::make_unique<dados::fb::Conexao>("BrenDados");
    c->defineBiblioteca(ctx.biblioteca);
    c->defineBanco(endereco + ":" + alias);
    c->parametros() = ctx.parametros;
    try {
        c->abre();
    } catch (const dados::fb::ErroBanco& e) {
        const std::string motor = " [" + semQuebras(e.what()) + "]";
        switch (dados::fb::classificaFalhaConexao(e)) {
            case dados::fb::FalhaConexao::SemResposta:
                r.falha("Servidor", "sem resposta em "_w + endereco +
                                        ". Confira o endereço e a porta no BRENVITA.INI, se o servidor de banco de "
                                        "dados está em execução e se um firewall bloqueia a porta."_w +
                                        motor);
                break;
            case dados::fb::FalhaConexao::UsuarioRecusado:
                // The environment's user is not named: nothing of a login goes out.
                r.falha("Servidor",
                        "conectado a "_w + endereco +
                            (ctx.login == dados::OrigemLogin::Ambiente
                                 ? ", mas o usuário de ISC_USER ou a senha de ISC_PASSWORD foi recusado. Confira as "
                                   "duas variáveis e o usuário criado no servidor (guia do administrador)."_w
                                 : ", mas o usuário "_w + ctx.parametros.usuario +
                                       " ou a senha foi recusado. O servidor precisa do usuário SYSDBA com a "
                                       "senha do programa (guia do administrador)."_w) +
                            motor);
                break;
            case dados::fb::FalhaConexao::BancoRecusado:
                r.falha("Servidor", "conectado a "_w + endereco + ", mas o banco ou o alias " + entreAspas(alias) +
                                        " foi recusado. O databases.conf do servidor precisa da linha " + alias +
                                        " = <arquivo do banco da suíte>, e o arquivo precisa existir."_w +
                                        motor);
                break;
            case dados::fb::FalhaConexao::Biblioteca:
                r.falha("Servidor", semQuebras(e.what()));
                break;
        }
        return;
    }
    try {
        const auto tabelas = c->consulta("select count(*) from RDB$RELATIONS where RDB$RELATION_NAME = 'COMPONEN'");
        if (std::get<std::int64_t>(tabelas.linhas.at(0).at(0)) == 0) {
            r.falha("Servidor", "conectado a "_w + endereco + ", mas o banco " + entreAspas(alias) +
                                    " não tem a tabela COMPONEN: o alias aponta para outro banco, ou o banco não foi "
                                    "criado com suite.sql."_w);
            return;
        }
    } catch (const std::exception& e) {
        r.falha("Servidor", "conectado a "_w + endereco + ", mas a leitura falhou: " + semQuebras(e.what()));
        return;
    }
    r.ok("Servidor", "conectado a "_w + endereco + ", banco " + entreAspas(alias));
    ctx.suite = std::move(c);
}

void verificaPrivilegios(Contexto& ctx, Relatorio& r) {
    if (!ctx.suite) return;  // the connection's finding says why
    try {
        if (const std::string falta = dados::privilegioQueFalta(*ctx.suite); !falta.empty()) {
            r.falha("Privilégios"_w, semQuebras(falta) +
                                         ". Rode /usr/share/capsulas/privilegios.sql no banco da suíte e dê o papel "
                                         "ROLENAME ao usuário de ISC_USER (guia do administrador)."_w);
            return;
        }
    } catch (const std::exception& e) {
        r.aviso("Privilégios"_w, "não foi possível conferir: "_w + semQuebras(e.what()));
        return;
    }
    r.ok("Privilégios"_w, "lê as tabelas do programa e grava COMPONEN"_w);
}

void verificaSenhaDoPrograma(Contexto& ctx, Relatorio& r) {
    if (!ctx.suite) return;  // no server to ask, or it took no login
    bool aceita = ctx.login != dados::OrigemLogin::Ambiente;  // the program's pair, taken already
    if (!aceita) {
        dados::fb::Conexao c("BrenDados");
        c.defineBiblioteca(ctx.biblioteca);
        c.defineBanco(ctx.servidor + ":" + ctx.banco);
        try {
            c.abre();
            aceita = true;
        } catch (const std::exception&) {
        }
    }
    if (!aceita) return;
    const std::string quando =
        "quando nenhuma estação nem módulo da suíte entrar mais com essa senha, troque-a no servidor (guia do "
        "administrador)."_w;
    const std::string oQueFazer = ctx.login == dados::OrigemLogin::Ambiente
                                      ? "Esta estação já entra com o usuário de ISC_USER; "_w
                                      : "Crie o usuário do programa com /usr/share/capsulas/privilegios.sql, defina "
                                        "ISC_USER e ISC_PASSWORD nas estações e, "_w;
    r.aviso("Login", "o servidor aceita SYSDBA com a senha que toda cópia do programa traz: quem tiver uma cópia lê "
                     "e altera todos os bancos desse servidor. "_w +
                         oQueFazer + quando);
}

void verificaPastaSuite(Contexto&, Relatorio& r) {
    const std::string pasta = plataforma::pastaSuite();
    const char* variavel = std::getenv("BRENVITA_DIR");
    const std::string origem =
        (variavel && *variavel) ? " (BRENVITA_DIR)" : " (padrão; outra pasta com BRENVITA_DIR)"_w;
    std::error_code ec;
    if (!std::filesystem::is_directory(pasta, ec)) {
        r.falha("Pasta da suíte"_w, caminho(pasta) + origem + " não existe. Crie-a e ponha nela TUTORIAL.BD."_w);
        return;
    }
    if (const std::string motivo = semAcesso(pasta); !motivo.empty()) {
        r.falha("Pasta da suíte"_w, caminho(pasta) + origem + ": " + motivo +
                                        ". O usuário precisa gravar e apagar arquivos nela."_w);
        return;
    }
    r.ok("Pasta da suíte"_w, caminho(pasta) + origem);
    struct Arquivo {
        const char* nome;
        const char* seAusente;
    };
    const Arquivo arquivos[] = {
        {"Tutorial.ini", "ausente; o programa o cria ao abrir a ajuda"},
        {"LOGON.QVF", "ausente: sem entrada da suíte, o programa pede o login"},
        {"ULTATIV.QVF", "ausente; o programa o cria ao entrar sem o painel de login"},
    };
    for (const Arquivo& a : arquivos) {
        const std::string arquivo = plataforma::caminhoSuite(a.nome);
        if (!std::filesystem::exists(arquivo, ec)) {
            r.ok(a.nome, plataforma::deQString(QString::fromUtf8(a.seAusente)));
        } else if (const std::string motivo = semAcesso(arquivo); !motivo.empty()) {
            r.falha(a.nome, semAcessoAoArquivo(arquivo, motivo));
        } else {
            r.ok(a.nome, caminho(arquivo));
        }
    }
}

void verificaTutorial(Contexto&, Relatorio& r) {
    const std::string arquivo = plataforma::caminhoSuite("TUTORIAL.BD");
    std::error_code ec;
    if (!std::filesystem::exists(arquivo, ec)) {
        r.falha("TUTORIAL.BD", caminho(arquivo) + " não existe. Crie-o com "_w + kIsql + " a partir de tutorial.sql (" +
                                   caminho(pastaDosSql()) + "tutorial.sql; guia do administrador).");
        return;
    }
    if (const std::string motivo = semAcesso(arquivo); !motivo.empty()) {
        r.falha("TUTORIAL.BD", semAcessoAoArquivo(arquivo, motivo));
        return;
    }
    dados::fb::Conexao c("IBConnection");
    c.defineBanco(arquivo);
    try {
        c.abre();
        c.consulta("select count(*) from TUTORIAL");
    } catch (const std::exception& e) {
        r.falha("TUTORIAL.BD", caminho(arquivo) + ": " + semQuebras(e.what()) +
                                   ". O banco é aberto embutido: precisa "_w + kMotorEmbutido +
                                   ", de ter sido criado com tutorial.sql e de não estar aberto por um servidor."_w);
        return;
    }
    r.ok("TUTORIAL.BD", caminho(arquivo));
}

void verificaIndices(Contexto& ctx, Relatorio& r) {
    if (!ctx.suite) return;  // the connection's finding says why
    try {
        for (const auto& c : dados::confereIndices(*ctx.suite)) {
            const auto& i = c.recomendado;
            if (!c.existente.empty())
                r.ok("Índice "_w + i.nome, "presente" + (c.existente == i.nome ? "" : " como " + c.existente));
            else
                r.aviso("Índice "_w + i.nome, "ausente; as consultas ficam mais lentas. Para criá-lo (também em "_w +
                                            caminho(pastaDosSql()) + "indices.sql): " + i.criacao);
        }
    } catch (const std::exception& e) {
        r.aviso("Índices"_w, "não foi possível conferir: "_w + semQuebras(e.what()));
    }
}

void verificaModoMotor(Contexto& ctx, Relatorio& r) {
    if (!ctx.bibliotecaCarregada) return;
    try {
        const std::string modo = dados::fb::modoDoMotorLocal(ctx.biblioteca);
        if (modo != "Super" && modo != "ThreadedDedicated")
            r.ok("Motor local", modo + ": vários programas abrem a ajuda ao mesmo tempo"_w);
        else
            r.aviso("Motor local", modo + ": só um programa por vez abre a ajuda. Ponha ServerMode = SuperClassic "
                                          "no firebird.conf do motor instalado (guia do administrador)."_w);
    } catch (const std::exception& e) {
        r.aviso("Motor local", "modo desconhecido: " + semQuebras(e.what()));
    }
}

void verificaSaltaCad(Contexto&, Relatorio& r) {
    // The marker the main window looks for in the current folder.
    std::error_code ec;
    const std::string pasta = caminho(std::filesystem::current_path(ec).string());
    if (plataforma::arquivoExiste("SaltaCad.db"))
        r.aviso("SaltaCad.db", "presente na pasta atual ("_w + pasta + "): o login é pulado."_w);
    else
        r.ok("SaltaCad.db", "ausente na pasta atual ("_w + pasta + "): o login não é pulado."_w);
}

Relatorio verificaInstalacao(std::FILE* saida) {
    Relatorio r(saida);
    Contexto ctx;
    for (Verificacao v : {verificaVersao, verificaConfiguracoes, verificaEnderecoServidor, verificaBibliotecaCliente,
                          verificaLogin, verificaServidor, verificaSenhaDoPrograma, verificaPrivilegios,
                          verificaIndices, verificaPastaSuite, verificaModoMotor, verificaTutorial, verificaSaltaCad})
        v(ctx, r);
    return r;
}

}  // namespace verificacao
