// The start-up of a minimal Qt Widgets program that does the program's start-up
// database work through the raw client (bench/base.cpp): both connections, the
// capsule rows and the colour list, the capsules shown in a table in one
// window. Against it the program's start-up pays only for what it does beyond
// a window toolkit's start.
#include "bench/janela.h"

#include "bench/base.h"
#include "data/catalogo.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QTableView>
#include <QTimer>

#include <firebird/Interface.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The rows as the server's message buffers, each value decoded when the view
// asks for it.
class ModeloLinhas : public QAbstractTableModel {
public:
    explicit ModeloLinhas(const base::Linhas& l) : l_(l) {}
    int rowCount(const QModelIndex&) const override { return static_cast<int>(l_.quantas); }
    int columnCount(const QModelIndex&) const override { return static_cast<int>(l_.colunas.size()); }
    QVariant headerData(int secao, Qt::Orientation o, int papel) const override {
        if (papel != Qt::DisplayRole || o != Qt::Horizontal) return {};
        return QString::fromLatin1(l_.colunas[static_cast<std::size_t>(secao)].nome);
    }
    QVariant data(const QModelIndex& i, int papel) const override {
        if (papel != Qt::DisplayRole) return {};
        const auto& c = l_.colunas[static_cast<std::size_t>(i.column())];
        const unsigned char* linha = l_.linha(static_cast<std::size_t>(i.row()));
        short nulo;
        std::memcpy(&nulo, linha + c.nulo, sizeof nulo);
        if (nulo) return {};
        const unsigned char* v = linha + c.deslocamento;
        auto numero = [&](long long unidades) {
            double d = static_cast<double>(unidades);
            for (int e = c.escala; e < 0; ++e) d /= 10;
            return QString::number(d, 'f', -c.escala);
        };
        switch (c.tipo) {
        case SQL_VARYING: {
            unsigned short n;
            std::memcpy(&n, v, sizeof n);
            return QString::fromLatin1(reinterpret_cast<const char*>(v + 2), n);
        }
        case SQL_TEXT: return QString::fromLatin1(reinterpret_cast<const char*>(v), static_cast<int>(c.tamanho));
        case SQL_LONG: {
            int x;
            std::memcpy(&x, v, sizeof x);
            return numero(x);
        }
        case SQL_INT64: {
            long long x;
            std::memcpy(&x, v, sizeof x);
            return numero(x);
        }
        case SQL_DOUBLE: {
            double x;
            std::memcpy(&x, v, sizeof x);
            return x;
        }
        default: return {};
        }
    }

private:
    const base::Linhas& l_;
};

}  // namespace

int partidaJanela(int argc, char* argv[], const char* banco, std::chrono::steady_clock::time_point inicio) {
    QApplication app(argc, argv);
    base::Cliente c1, c2;
    c1.conecta(banco);
    c2.conecta(banco);
    const base::Linhas capsulas = c1.seleciona(dados::sqlComponentes());
    const base::Linhas cores = c1.seleciona(dados::kSqlCores);
    ModeloLinhas modelo(capsulas);
    QTableView janela;
    janela.setWindowTitle(QStringLiteral("Cápsulas"));
    janela.setModel(&modelo);
    janela.resize(800, 600);
    janela.show();
    QTimer::singleShot(0, &janela, [&] {
        std::printf("partida_ms=%.3f\n",
                    std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - inicio).count());
        std::fflush(stdout);
        esperaFimDaEntrada();
        QCoreApplication::exit(capsulas.quantas > 0 ? 0 : 1);
    });
    return app.exec();
}

void esperaFimDaEntrada() {
    // The benchmark reads the turns of a start-up before the connections close.
    if (const char* m = std::getenv("CAPSULAS_MEDE_PARTIDA"); m && std::strcmp(m, "espera") == 0)
        while (std::getchar() != EOF) {
        }
}
