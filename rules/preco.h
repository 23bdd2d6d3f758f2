#pragma once
// The sale price of a capsule and the entry rules of the values it comes from.
#include "rules/value.h"

#include <QLocale>
#include <optional>
#include <string>

namespace regras {

inline constexpr int kCasasPreco = 8;          // decimal places of PRECOR
inline constexpr double kCustoMinimo = 0.0001;

// A pricing setting is on only when its text is exactly "Sim".
bool configuracaoLigada(const std::string& valor);

// A computed price as the 8-decimal column keeps it, rounded half away from zero.
// Throws when the value does not fit the column.
regras::Decimal precoNaColuna(double valor);

// custo × multiplicador ÷ divisor, × fatorCorrecao when usarFC, carried at
// extended precision and not yet rounded. nullopt when the divisor is 0 (the
// stored price is then left as it was).
std::optional<double> precoSemDiluicao(double custo, double multiplicador, double divisor,
                                       double fatorCorrecao, bool usarFC);

// What a sale price is computed from: the capsule's columns and the two
// settings of the workstation.
struct EntradasPreco {
    double custo = 0;
    double multiplicador = 0;
    double divisor = 0;
    double fatorCorrecao = 0;
    double fatorDiluicao = 0;
    bool usarFC = false;
    bool usarDiluicao = false;
};

// The whole computation as the column sees it: the price is stored (rounded to
// 8 places); with the dilution setting on, the stored value is read back,
// multiplied by the dilution factor and stored again. The result is the final
// stored value; precoNaColuna of it gives the exact decimal.
std::optional<double> calculaPrecoVenda(const EntradasPreco& e);

// The unit cost as typed, read in the workstation's number format (its decimal
// separator; thousands separators allowed). Text that is not a number counts
// as the minimum, so it passes the check.
double leCustoDigitado(const std::string& texto, const QLocale& local = QLocale());

// True when the typed unit cost is below 0.0001 (zero and negatives included).
bool custoAbaixoDoMinimo(const std::string& texto, const QLocale& local = QLocale());

}  // namespace regras
