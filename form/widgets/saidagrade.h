#pragma once
// A grid taken out of the program: exported as a spreadsheet file or printed.
// Both show the visible columns in the order shown, with their titles and the
// values as the grid shows them in the user's locale; neither changes data.
#include <QByteArray>
#include <QString>

class QPagedPaintDevice;

namespace widgets {

class DBGrid;

// The grid as a spreadsheet opens it where ',' is the decimal separator: values
// separated by ';', quoted (quotes doubled) when they hold ';', '"' or a line
// break, CRLF line ends, UTF-8 with a byte-order mark. The first line holds the titles.
QByteArray csvDaGrade(const DBGrid& grade);

// Writes the CSV to `caminho` whole or not at all (a failure leaves whatever the
// name held before). Returns the reason of a failure; empty when written.
QString gravaCsv(const DBGrid& grade, const QString& caminho);

// Prints the grid on pages of `dispositivo`: on each page the title, the date,
// the column titles, the rows striped as the grid draws them, and "Página n de m".
// Columns keep the grid's proportions across the page's width, in the grid's
// font scaled alike. Returns the number of pages; 0 when the device could not be
// painted on.
int imprimeGrade(const DBGrid& grade, QPagedPaintDevice& dispositivo, const QString& titulo);
// The rows each printed page holds.
int linhasPorPagina(const DBGrid& grade, QPagedPaintDevice& dispositivo);

// A context menu on the grid with "Exportar para planilha (CSV)..." (a save
// dialog, then gravaCsv) and "Imprimir..." (the print dialog, then imprimeGrade);
// failures are told with their reason.
void ofereceExportacaoEImpressao(DBGrid* grade, const QString& titulo);

}  // namespace widgets
