#include "rules/preco.h"

#include "rules/numeros.h"

#include <QLocale>

namespace regras {

bool configuracaoLigada(const std::string& valor) { return valor == "Sim"; }

regras::Decimal precoNaColuna(double valor) { return regras::Decimal::deReal(valor, kCasasPreco); }

std::optional<double> precoSemDiluicao(double custo, double multiplicador, double divisor,
                                       double fatorCorrecao, bool usarFC) {
    if (divisor == 0) return std::nullopt;
    // Product first, then the quotient; one rounding to double at the store.
    long double preco = static_cast<long double>(custo) * multiplicador / divisor;
    if (usarFC) preco *= fatorCorrecao;
    return static_cast<double>(preco);
}

std::optional<double> calculaPrecoVenda(const EntradasPreco& e) {
    const std::optional<double> base = precoSemDiluicao(e.custo, e.multiplicador, e.divisor, e.fatorCorrecao, e.usarFC);
    if (!base) return std::nullopt;
    double guardado = precoNaColuna(*base).comoReal();
    // The dilution works on the value read back from the column, not on the
    // unrounded one.
    if (e.usarDiluicao) guardado = precoNaColuna(guardado * e.fatorDiluicao).comoReal();
    return guardado;
}

double leCustoDigitado(const std::string& texto, const QLocale& local) {
    // Read as the cost's field reads it when the capsule is stored.
    const char decimal = caractereSeparador(local.decimalPoint(), '.');
    const char milhar = caractereSeparador(local.groupSeparator(), '\xA0');
    const std::optional<std::string> semMilhar = semSeparadorMilhar(texto, decimal, milhar);
    const std::optional<Decimal> custo = semMilhar ? leDecimal(*semMilhar, decimal, -1) : std::nullopt;
    return custo ? custo->comoReal() : kCustoMinimo;
}

bool custoAbaixoDoMinimo(const std::string& texto, const QLocale& local) {
    return leCustoDigitado(texto, local) < kCustoMinimo;
}

}  // namespace regras
