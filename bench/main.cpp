// Benchmarks of the capsule registry against a baseline that does the same
// database work straight through the server's API (bench/base.cpp). For each
// size N the suite database is made anew with N capsules and 4·N rows of other
// groups; every operation is timed as the median of several runs, ours and the
// baseline's interleaved, and one table is printed at the end.
//
//   capsulas_bench --host 127.0.0.1/PORT --programa PATH/capsulas --pasta TMPDIR
//                  [--n 1000,10000,100000] [--vezes 7+] [--indice-grupo]
//   capsulas_bench --partida-base DATABASE   (the baseline's start-up, timed from main)
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include "bench/base.h"
#include "data/catalogo.h"
#include "data/dm.h"
#include "rules/pesquisa.h"
#include "platform/suite.h"
#include "settings/settings.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>
#include "platform/text.h"

using namespace plataforma::literais;

namespace {

using Relogio = std::chrono::steady_clock;

double msDesde(Relogio::time_point t0) {
    return std::chrono::duration<double, std::milli>(Relogio::now() - t0).count();
}

template <class F>
double cronometra(F&& f) {
    const auto t0 = Relogio::now();
    f();
    return msDesde(t0);
}

double mediana(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

constexpr const char* kAlias = "C:\\brenvita\\dados\\brenvita.bd";

// The search of the capsule window: description prefix, capsules only.
const std::string kSqlPesquisa =
    "select CODIGO, COMPONENTE, GRUPO, UNID from COMPONEN where COMPONENTE LIKE ? ESCAPE '" +
    std::string(1, formulario::kEscapeLike) + "' and GRUPO = 'CAP' order by COMPONENTE";
const std::string kTextoPesquisa = formulario::padraoPrefixo("Capsula gastro");
const std::string kSqlCodigos = "select CODIGO from COMPONEN";

// The suite's tables, from db/suite.sql (comments dropped, split on ';').
std::vector<std::string> instrucoesSuite() {
    std::ifstream in(std::string(CAPSULAS_RAIZ) + "/db/suite.sql", std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string texto = ss.str(), limpo;
    for (std::size_t i = 0; i < texto.size(); ++i) {
        if (texto.compare(i, 2, "/*") == 0) {
            i = texto.find("*/", i + 2) + 1;
            continue;
        }
        limpo += texto[i];
    }
    std::vector<std::string> r;
    std::size_t ini = 0, fim;
    while ((fim = limpo.find(';', ini)) != std::string::npos) {
        std::string s = limpo.substr(ini, fim - ini);
        ini = fim + 1;
        s.erase(0, s.find_first_not_of(" \r\n\t"));
        if (!s.empty() && s.rfind("COMMIT", 0) != 0) r.push_back(s);
    }
    if (r.empty()) throw std::runtime_error("db/suite.sql not found");
    return r;
}

// N capsules, then 4·N rows of other groups, filled much as a pharmacy fills
// them; then the two capsules that the search finds. One transaction.
void carrega(dados::fb::Conexao& c, int n) {
    c.executa(R"(execute block (n integer = ?) as
  declare i integer = 1;
  declare cap smallint;
begin
  while (i <= 5 * n) do
  begin
    cap = iif(i <= n, 1, 0);
    insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, FAMILIA, UNID, CONTROLADA, CUSTOUNITUS, CUSTOUNITR,
      MULTIPLICADOR, DIVISORUNID, PRECOUS, PRECOR, QDEESTOQUE, ESTOQUECRITICO, ESTOQUEMAXIMO, TRIBUTACAO, ICMS,
      FABRICANTE, FORNECEDOR, LOTE, FATORCORRECAO, DENSIDADE, USAEXCIPIENTE, DOSAGEMMIN, DOSAGEMMAX,
      VALIDADE, USOCONTINUO, FATORDILUICAO, CORCAPSULA, COMISSAO, GRUPOF, TEMPOMANIP, UNID_VENDA, CUSTOFIXO,
      USAR_FORMPRECO, GRUPOS, CLASSE, DESCONTO, CONDARMAZENA, ALIQIPI, BASEICMS, SUBSTRIB, NOMECIENTIFICO,
      GRUPOPRECO)
    values (lpad(cast(:i as varchar(10)), 6, '0'),
      iif(:cap = 1,
          'Capsula ' || decode(mod(:i, 8), 0, '000', 1, '00', 2, '0', 3, '1', 4, '2', 5, '3', 6, '4', '5') || ' ' ||
            decode(mod(:i, 7), 0, 'azul', 1, 'branca', 2, 'incolor', 3, 'verde', 4, 'amarelo', 5, 'rosa', 'preta') ||
            ' ' || :i,
          decode(mod(:i, 3), 0, 'Acido ascorbico ', 1, 'Pote plastico 60 ml ', 'Essencia de laranja ') || :i),
      iif(:cap = 1, 'CAP', decode(mod(:i, 3), 0, 'MP', 1, 'EMB', 'ESS')),
      iif(:cap = 1, 'Gelatina dura', 'Vitaminas'), 'un', _win1252 x'4EE36F',
      0.0095 + mod(:i, 50) / 10000.0, 0.047 + mod(:i, 50) / 1000.0, 3, 1, 0.028, 0.141 + mod(:i, 50) / 100.0,
      mod(:i, 5000) + 0.5, 1000, 20000, 'T18', 18,
      'Gelatinas Serra Azul Ltda', 'Distribuidora Boa Dose', 'L' || mod(:i, 997) || '/24', 1, 1, 'N', 0.5, 2.5,
      dateadd(mod(:i, 700) day to timestamp '2025-01-01 00:00:00'), 'N', 1, 'azul', 2.5, 'N', 15, 'un', 0.1,
      'S', 'GERAL', 'CAPSULAS', 0, 'Conservar em local seco e fresco, ao abrigo da luz', 0, 100, 'N',
      iif(:cap = 1, null, 'Ascorbic acid'), 'PADRAO');
    i = i + 1;
  end
  insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID) values (lpad(cast(5 * :n + 1 as varchar(10)), 6, '0'),
    'Capsula gastrorresistente 0 branca', 'CAP', 'un');
  insert into COMPONEN (CODIGO, COMPONENTE, GRUPO, UNID) values (lpad(cast(5 * :n + 2 as varchar(10)), 6, '0'),
    'Capsula gastrorresistente 1 azul', 'CAP', 'un');
end)",
              {static_cast<std::int32_t>(n)});
}

void recriaBanco(const std::string& banco, int n, bool indiceGrupo) {
    try {
        base::Cliente c;
        c.conecta(banco);
        c.apagaBanco();
    } catch (const std::exception&) {
        // Not there yet.
    }
    dados::fb::Conexao c("Carga");
    c.defineBanco(banco);
    c.criaBanco();
    for (const auto& s : instrucoesSuite()) c.executa(s);
    carrega(c, n);
    // A trial of the schema: the capsule statements filter on GRUPO and order
    // by COMPONENTE, so this index lets the server visit the capsules only.
    if (indiceGrupo) c.executa("create index IX_COMPONEN_GRUPO_COMPONENTE on COMPONEN (GRUPO, COMPONENTE)");
}

// Bytes the heap holds in use (small blocks and mapped large ones).
long long heapEmUso() {
    const struct mallinfo2 m = mallinfo2();
    return static_cast<long long>(m.uordblks + m.hblkhd);
}

std::size_t bytesDoValor(const dados::Valor& v) {
    if (auto t = std::get_if<std::string>(&v)) return t->size();
    if (auto b = std::get_if<dados::Blob>(&v)) return b->bytes.size();
    if (std::holds_alternative<std::int32_t>(v)) return 4;
    if (std::holds_alternative<std::monostate>(v)) return 0;
    return 8;  // 64-bit integers, decimals, doubles, timestamps
}

struct Linha {
    std::string operacao;
    int n;
    double nosso, base;
    std::string unidade;
};

std::vector<Linha> g_tabela;

void registra(const std::string& operacao, int n, double nosso, double base, const std::string& unidade = "ms") {
    g_tabela.push_back({operacao, n, nosso, base, unidade});
    std::fprintf(stderr, "  %-34s N=%-7d ours %10.2f  baseline %10.2f %s\n", operacao.c_str(), n, nosso, base,
                 unidade.c_str());
}

// Runs `vezes` timed rounds after one warm-up, ours and the baseline's taking
// turns so that any drift of the machine touches both alike.
template <class Nosso, class Base>
void compara(const std::string& operacao, int n, int vezes, Nosso&& nosso, Base&& base) {
    std::vector<double> a, b;
    for (int i = 0; i <= vezes; ++i) {
        double ta, tb;
        if (i % 2 == 0) {
            ta = nosso(i);
            tb = base(i);
        } else {
            tb = base(i);
            ta = nosso(i);
        }
        if (i == 0) continue;
        a.push_back(ta);
        b.push_back(tb);
    }
    registra(operacao, n, mediana(a), mediana(b));
}

// One program start, timed by the program itself; the printed value in ms.
double partida(const QString& programa, const QStringList& argumentos, const QString& pasta,
               const QProcessEnvironment& ambiente, const char* marca) {
    QProcess p;
    p.setWorkingDirectory(pasta);
    p.setProcessEnvironment(ambiente);
    p.start(programa, argumentos);
    if (!p.waitForFinished(120000)) {
        p.kill();
        p.waitForFinished();
        throw std::runtime_error("start-up did not finish: " + programa.toStdString());
    }
    const QString saida = QString::fromLocal8Bit(p.readAllStandardOutput());
    const auto i = saida.indexOf(QLatin1String(marca));
    if (i < 0)
        throw std::runtime_error("no start-up time printed by " + programa.toStdString() + ": " +
                                 saida.toStdString() + QString::fromLocal8Bit(p.readAllStandardError()).toStdString());
    return saida.mid(i + static_cast<int>(std::strlen(marca))).section(QLatin1Char('\n'), 0, 0).toDouble();
}

struct Opcoes {
    std::string host, programa, pasta;
    std::vector<int> tamanhos{1000, 10000, 100000};
    int vezes = 0;  // 0: 15 runs up to 10 000 capsules, 7 beyond (noise matters most when runs are short)
    bool indiceGrupo = false;
};

void medeTamanho(const Opcoes& opcoes, int n) {
    Opcoes o = opcoes;
    if (o.vezes == 0) o.vezes = n <= 10000 ? 15 : 7;
    const std::string banco = o.host + ":" + kAlias;
    std::fprintf(stderr, "N = %d: loading %d rows...\n", n, 5 * n + 2);
    const double carga = cronometra([&] { recriaBanco(banco, n, o.indiceGrupo); });
    std::fprintf(stderr, "  loaded in %.1f s\n", carga / 1000);

    const std::string& sqlComponentes = dados::sqlComponentes();
    {
        IpServidorCentral = o.host;
        dados::DM dm;
        dm.DataModuleCreate();
        base::Cliente b;
        b.conecta(banco);
        auto& comp = dm.Componentes;

        // Open Componentes. Closing is not timed; its apply-and-refresh is
        // switched off meanwhile, since nothing is pending.
        const auto aoFechar = comp.BeforeClose;
        comp.BeforeClose = nullptr;
        long long memoria = 0;
        std::size_t bytesValores = 0, largura = 0;
        compara("open Componentes", n, o.vezes,
                [&](int i) {
                    comp.close();
                    const long long antes = heapEmUso();
                    const double t = cronometra([&] { comp.open(); });
                    if (i == 1) memoria = heapEmUso() - antes;
                    return t;
                },
                [&](int) {
                    base::Linhas l;
                    const double t = cronometra([&] { l = b.seleciona(sqlComponentes); });
                    largura = l.largura;
                    if (l.quantas != static_cast<std::size_t>(comp.recordCount()))
                        throw std::runtime_error("baseline and ours read different row counts");
                    return t;
                });
        comp.BeforeClose = aoFechar;
        for (int r = 0; r < comp.recordCount(); ++r)
            for (const auto& v : comp.linha(r)) bytesValores += bytesDoValor(v);
        const double linhas = comp.recordCount();
        registra("memory per row vs value bytes", n, memoria / linhas, bytesValores / linhas, "B");
        registra("memory per row vs plain arrays", n, memoria / linhas, static_cast<double>(largura), "B");

        // One edited capsule posted: edit, post, apply, re-read.
        const std::string codigo = [&] {
            char c[16];
            std::snprintf(c, sizeof c, "%06d", n / 2);
            return std::string(c);
        }();
        compara("post an edited capsule", n, o.vezes,
                [&](int i) {
                    if (!comp.locate("CODIGO", codigo)) throw std::runtime_error("capsule " + codigo + " not found");
                    return cronometra([&] {
                        comp.edit();
                        comp.fieldByName("CUSTOUNITR").defineValor(dados::Decimal{5000000 + 2 * i, 8});
                        comp.post();
                    });
                },
                [&](int i) {
                    return cronometra([&] {
                        b.executa("UPDATE COMPONEN SET CUSTOUNITR = ? WHERE CODIGO = ?",
                                  {base::Parametro::escalado(5000001 + 2 * i), base::Parametro::de(codigo)});
                        b.seleciona(sqlComponentes);
                    });
                });
        if (comp.changeCount() != 0) throw std::runtime_error("an edited capsule was not stored");

        // One new capsule: next code, insert, apply, re-read.
        std::string insercao = "INSERT INTO COMPONEN (", marcas;
        for (const auto& c : dados::camposComponen()) {
            insercao += (marcas.empty() ? "" : ", ") + c.nome;
            marcas += marcas.empty() ? "?" : ", ?";
        }
        insercao += ") VALUES (" + marcas + ")";
        compara("post a new capsule", n, o.vezes,
                [&](int i) {
                    return cronometra([&] {
                        comp.append();
                        comp.fieldByName("COMPONENTE").defineValor("Capsula 2 nova " + std::to_string(i));
                        comp.post();
                    });
                },
                [&](int i) {
                    return cronometra([&] {
                        char codigo[32];
                        std::snprintf(codigo, sizeof codigo, "%06lld", base::maiorCodigo(b.seleciona(kSqlCodigos)) + 1);
                        std::vector<base::Parametro> p(dados::camposComponen().size());
                        auto define = [&](const char* coluna, base::Parametro v) {
                            for (std::size_t k = 0; k < p.size(); ++k)
                                if (dados::camposComponen()[k].nome == coluna) p[k] = std::move(v);
                        };
                        const auto um = base::Parametro::escalado(100000000);
                        define("CODIGO", base::Parametro::de(codigo));
                        define("COMPONENTE", base::Parametro::de("Capsula 3 nova " + std::to_string(i)));
                        define("GRUPO", base::Parametro::de("CAP"));
                        define("UNID", base::Parametro::de("un"));
                        define("UNID_VENDA", base::Parametro::de("un"));
                        define("DIVISORUNID", um);
                        define("USAR_FORMPRECO", base::Parametro::de("S"));
                        define("FATORCORRECAO", um);
                        define("FATORDILUICAO", um);
                        define("DENSIDADE", um);
                        define("GRUPOF", base::Parametro::de("N"));
                        define("USOCONTINUO", base::Parametro::de("N"));
                        define("USAEXCIPIENTE", base::Parametro::de("N"));
                        define("CONTROLADA", base::Parametro::de("Não"_w));
                        b.executa(insercao, p);
                        b.seleciona(sqlComponentes);
                    });
                });
        if (comp.changeCount() != 0) throw std::runtime_error("a new capsule was not stored");

        // Description search with two matches.
        compara("description search (2 matches)", n, o.vezes,
                [&](int) {
                    const double t = cronometra(
                        [&] { dm.CompNome.defineComando(kSqlPesquisa, {kTextoPesquisa}); });
                    if (dm.CompNome.recordCount() != 2) throw std::runtime_error("the search did not find two capsules");
                    return t;
                },
                [&](int) {
                    return cronometra([&] { b.seleciona(kSqlPesquisa, {base::Parametro::de(kTextoPesquisa)}); });
                });
    }

    // Start-up to the window's editing state, in a process of its own each time.
    const QString pasta = QString::fromStdString(o.pasta) + QStringLiteral("/partida");
    std::filesystem::create_directories(pasta.toStdString());
    const QString programa = pasta + QStringLiteral("/capsulas");
    QFile::remove(programa);
    if (!QFile::copy(QString::fromStdString(o.programa), programa))
        throw std::runtime_error("could not copy the program to " + programa.toStdString());
    {
        std::ofstream ini((pasta + QStringLiteral("/BRENVITA.INI")).toStdString(), std::ios::binary);
        std::string rotulo = "IP DO SERVIDOR CENTRAL.........................:";
        ini << rotulo << ' ' << o.host << "\r\n";
        std::ofstream((pasta + QStringLiteral("/SaltaCad.db")).toStdString());  // no login panel
    }
    QProcessEnvironment ambiente = QProcessEnvironment::systemEnvironment();
    ambiente.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    ambiente.insert(QStringLiteral("BRENVITA_DIR"), pasta);
    ambiente.insert(QStringLiteral("BRENVITA_MESSAGES"), pasta + QStringLiteral("/mensagens.txt"));
    ambiente.insert(QStringLiteral("CAPSULAS_MEDE_PARTIDA"), QStringLiteral("1"));
    const QString eu = QCoreApplication::applicationFilePath();
    compara("start-up to the editing state", n, o.vezes,
            [&](int) { return partida(programa, {}, pasta, ambiente, "partida_ms="); },
            [&](int) {
                return partida(eu, {QStringLiteral("--partida-base"), QString::fromStdString(banco)}, pasta, ambiente,
                               "partida_ms=");
            });
}

void imprimeTabela() {
    std::printf("\n| operation | N | ours | baseline | ratio |\n|---|---:|---:|---:|---:|\n");
    for (const auto& l : g_tabela) {
        const int casas = l.unidade == "B" ? 0 : (l.nosso < 10 ? 2 : 1);
        std::printf("| %s | %d | %.*f %s | %.*f %s | %.2f |\n", l.operacao.c_str(), l.n, casas, l.nosso,
                    l.unidade.c_str(), casas, l.base, l.unidade.c_str(), l.nosso / l.base);
    }
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char* argv[]) {
#ifdef __GLIBC__
    mallopt(M_TRIM_THRESHOLD, 64 << 20);  // as the program does
#endif
    const auto inicio = Relogio::now();
    if (argc == 3 && std::strcmp(argv[1], "--partida-base") == 0) {
        // The floor of a start-up: load the client, connect, read the capsules.
        base::Cliente b;
        b.conecta(argv[2]);
        const base::Linhas l = b.seleciona(dados::sqlComponentes());
        std::printf("partida_ms=%.3f\n", msDesde(inicio));
        return l.quantas > 0 ? 0 : 1;
    }

    QCoreApplication app(argc, argv);
    Opcoes o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--indice-grupo") {
            o.indiceGrupo = true;
            continue;
        }
        if (i + 1 >= argc) break;
        const std::string v = argv[++i];
        if (a == "--host") o.host = v;
        else if (a == "--programa") o.programa = v;
        else if (a == "--pasta") o.pasta = v;
        else if (a == "--vezes") o.vezes = std::max(7, std::stoi(v));
        else if (a == "--n") {
            o.tamanhos.clear();
            std::stringstream ss(v);
            for (std::string t; std::getline(ss, t, ',');) o.tamanhos.push_back(std::stoi(t));
        }
    }
    if (o.host.empty() || o.programa.empty() || o.pasta.empty()) {
        std::fprintf(stderr, "usage: %s --host 127.0.0.1/PORT --programa PATH --pasta DIR [--n 1000,...] [--vezes 7] "
                     "[--indice-grupo]\n",
                     argv[0]);
        return 2;
    }
    // The data module's suite folder and unattended messages: no window may wait for a click.
    plataforma::definePastaSuite(o.pasta);
    qputenv("BRENVITA_MESSAGES", QByteArray::fromStdString(o.pasta + "/mensagens-bench.txt"));
    try {
        for (int n : o.tamanhos) medeTamanho(o, n);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "capsulas_bench: %s\n", e.what());
        imprimeTabela();
        return 1;
    }
    imprimeTabela();
    return 0;
}
