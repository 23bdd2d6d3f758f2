#include "form/widgets/saidagrade.h"

#include "data/formato.h"
#include "form/widgets/dbgrid.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/program.h"
#include "platform/text.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QMenu>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <vector>

using namespace plataforma::literais;

namespace widgets {

namespace {

// The visible columns in the order the user sees them (he may have moved them).
std::vector<int> colunasMostradas(const DBGrid& grade) {
    std::vector<int> colunas;
    const QHeaderView* cabecalho = grade.horizontalHeader();
    for (int v = 0; v < cabecalho->count(); ++v) {
        const int c = cabecalho->logicalIndex(v);
        if (!grade.isColumnHidden(c)) colunas.push_back(c);
    }
    return colunas;
}

QString titulo(const DBGrid& grade, int coluna) {
    return grade.model()->headerData(coluna, Qt::Horizontal, Qt::DisplayRole).toString();
}

QString celula(const DBGrid& grade, int linha, int coluna) {
    return plataforma::paraQString(grade.textoCelula(linha, coluna));
}

QString campoCsv(QString v) {
    static const QString especiais = QStringLiteral(";\"\r\n");
    if (std::none_of(v.begin(), v.end(), [](QChar c) { return especiais.contains(c); })) return v;
    v.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + v + QLatin1Char('"');
}

// Page geometry in device pixels, the grid's proportions kept.
struct Pagina {
    QRect area;
    double escala = 1;
    QFont fonte, fonteCabecalho;
    int alturaLinha = 0;
    int alturaCabecalho = 0;  // title and date, then the column titles
    int alturaRodape = 0;
    int linhasPorPagina = 1;
};

Pagina mede(const DBGrid& grade, QPagedPaintDevice& dispositivo, const std::vector<int>& colunas) {
    Pagina p;
    p.area = QRect(QPoint(0, 0), dispositivo.pageLayout().paintRectPixels(dispositivo.logicalDpiX()).size());
    int largura = 0;
    for (int c : colunas) largura += grade.columnWidth(c);
    p.escala = largura > 0 ? static_cast<double>(p.area.width()) / largura : 1;
    // The grid's font at the same scale: what fits a column on screen fits on paper.
    const double pixels = QFontInfo(grade.font()).pixelSize() * p.escala;
    p.fonte = grade.font();
    p.fonte.setPixelSize(std::max(1, static_cast<int>(pixels)));
    p.fonteCabecalho = p.fonte;
    p.fonteCabecalho.setBold(true);
    p.fonteCabecalho.setPixelSize(std::max(1, static_cast<int>(pixels * 1.5)));
    const QFontMetrics fm(p.fonte, &dispositivo);
    p.alturaLinha = fm.height() * 3 / 2;
    p.alturaCabecalho = QFontMetrics(p.fonteCabecalho, &dispositivo).height() * 2 + p.alturaLinha;
    p.alturaRodape = p.alturaLinha * 2;
    p.linhasPorPagina = std::max(1, (p.area.height() - p.alturaCabecalho - p.alturaRodape) / p.alturaLinha);
    return p;
}

void desenhaLinha(QPainter& pintor, const DBGrid& grade, const std::vector<int>& colunas, const Pagina& p,
                  int topo, int linha) {
    const int margem = std::max(1, p.alturaLinha / 6);
    double x = p.area.left();
    for (int c : colunas) {
        const double largura = grade.columnWidth(c) * p.escala;
        const QRectF r(x, topo, largura, p.alturaLinha);
        x += largura;
        QString texto;
        QColor cor = Qt::black;
        int alinhamento = Qt::AlignLeft | Qt::AlignVCenter;
        if (linha < 0) {
            texto = titulo(grade, c);
            pintor.fillRect(r, QColor(224, 224, 224));  // as the grid's header
        } else {
            texto = celula(grade, linha, c);
            alinhamento = grade.model()->data(grade.model()->index(linha, c), Qt::TextAlignmentRole).toInt();
            CoresCelula cores;
            if (grade.OnDrawColumnCell) grade.OnDrawColumnCell(linha + 1, c, false, cores);
            if (cores.fundo.isValid()) pintor.fillRect(r, cores.fundo);
            if (cores.texto.isValid()) cor = cores.texto;
        }
        pintor.setPen(QPen(QColor(160, 160, 160), 0));
        pintor.drawRect(r);
        pintor.setPen(cor);
        const QRectF interior = r.adjusted(margem, 0, -margem, 0);
        pintor.drawText(interior, alinhamento,
                        pintor.fontMetrics().elidedText(texto, Qt::ElideRight, static_cast<int>(interior.width())));
    }
}

}  // namespace

QByteArray csvDaGrade(const DBGrid& grade) {
    const std::vector<int> colunas = colunasMostradas(grade);
    QString texto;
    auto linha = [&](auto valor) {
        QStringList campos;
        for (int c : colunas) campos << campoCsv(valor(c));
        texto += campos.join(QLatin1Char(';')) + QStringLiteral("\r\n");
    };
    linha([&](int c) { return titulo(grade, c); });
    for (int r = 0; r < grade.model()->rowCount(); ++r) linha([&](int c) { return celula(grade, r, c); });
    return QByteArray("\xEF\xBB\xBF") + texto.toUtf8();
}

QString gravaCsv(const DBGrid& grade, const QString& caminho) {
    QSaveFile arquivo(caminho);
    if (!arquivo.open(QIODevice::WriteOnly)) return arquivo.errorString();
    const QByteArray bytes = csvDaGrade(grade);
    if (arquivo.write(bytes) != bytes.size() || !arquivo.commit()) return arquivo.errorString();
    return {};
}

int imprimeGrade(const DBGrid& grade, QPagedPaintDevice& dispositivo, const QString& tituloTabela) {
    const std::vector<int> colunas = colunasMostradas(grade);
    const Pagina p = mede(grade, dispositivo, colunas);
    const int linhas = grade.model()->rowCount();
    const int paginas = std::max(1, (linhas + p.linhasPorPagina - 1) / p.linhasPorPagina);
    const QString data =
        plataforma::paraQString(dados::textoDataHora(regras::dataHora(plataforma::agora().date())));

    QPainter pintor;
    if (!pintor.begin(&dispositivo)) return 0;
    for (int pagina = 0; pagina < paginas; ++pagina) {
        if (pagina > 0 && !dispositivo.newPage()) return pagina;
        pintor.setFont(p.fonteCabecalho);
        pintor.setPen(Qt::black);
        const QRect cabecalho(p.area.left(), p.area.top(), p.area.width(), p.alturaCabecalho - p.alturaLinha);
        pintor.drawText(cabecalho, Qt::AlignLeft | Qt::AlignTop, tituloTabela);
        pintor.setFont(p.fonte);
        pintor.drawText(cabecalho, Qt::AlignRight | Qt::AlignTop, data);

        int topo = p.area.top() + p.alturaCabecalho - p.alturaLinha;
        desenhaLinha(pintor, grade, colunas, p, topo, -1);
        const int fim = std::min(linhas, (pagina + 1) * p.linhasPorPagina);
        for (int r = pagina * p.linhasPorPagina; r < fim; ++r) {
            topo += p.alturaLinha;
            desenhaLinha(pintor, grade, colunas, p, topo, r);
        }
        pintor.setPen(Qt::black);
        const QRect rodape(p.area.left(), p.area.bottom() - p.alturaLinha, p.area.width(), p.alturaLinha);
        pintor.drawText(rodape, Qt::AlignCenter,
                        plataforma::paraQString("Página %1 de %2"_w).arg(pagina + 1).arg(paginas));
    }
    pintor.end();
    return paginas;
}

int linhasPorPagina(const DBGrid& grade, QPagedPaintDevice& dispositivo) {
    return mede(grade, dispositivo, colunasMostradas(grade)).linhasPorPagina;
}

void ofereceExportacaoEImpressao(DBGrid* grade, const QString& titulo) {
    auto* menu = new QMenu(grade);
    QAction* exportar = menu->addAction(QStringLiteral("Exportar para planilha (CSV)..."));
    exportar->setObjectName(QStringLiteral("exportarCsv"));
    QAction* imprimir = menu->addAction(QStringLiteral("Imprimir..."));
    imprimir->setObjectName(QStringLiteral("imprimir"));
    grade->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(grade, &QWidget::customContextMenuRequested, menu,
                     [grade, menu](const QPoint& p) { menu->popup(grade->viewport()->mapToGlobal(p)); });

    QObject::connect(exportar, &QAction::triggered, grade, [grade, titulo] {
        QFileDialog dialogo(grade->window(), QStringLiteral("Exportar para planilha"));
        dialogo.setAcceptMode(QFileDialog::AcceptSave);
        dialogo.setNameFilter(QStringLiteral("Planilha CSV (*.csv)"));
        dialogo.setDefaultSuffix(QStringLiteral("csv"));
        dialogo.setDirectory(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
        dialogo.selectFile(titulo + QStringLiteral(".csv"));
        if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return;
        const QString caminho = dialogo.selectedFiles().constFirst();
        const QString erro = gravaCsv(*grade, caminho);
        if (!erro.isEmpty())
            plataforma::mostraMensagem("Não foi possível gravar o arquivo \""_w +
                                       plataforma::deQString(QDir::toNativeSeparators(caminho)) + "\".\r" +
                                       plataforma::deQString(erro));
    });

    QObject::connect(imprimir, &QAction::triggered, grade, [grade, titulo] {
        QPrinter impressora(QPrinter::HighResolution);
        impressora.setDocName(titulo);
        QPrintDialog dialogo(&impressora, grade->window());
        if (dialogo.exec() != QDialog::Accepted) return;
        if (imprimeGrade(*grade, impressora, titulo) == 0)
            plataforma::mostraMensagem("Não foi possível imprimir \""_w + plataforma::deQString(titulo) + "\".");
    });
}

}  // namespace widgets
