#pragma once
// The suite's settings file BRENVITA.INI: 131 labelled settings in fixed
// columns, read once at start-up into program-wide variables.
//
// Line layout (columns counted from 1): 1-48 the label, dots up to a colon in
// column 48; 49 a separator, not read; 50-109 the value; the rest is not read.
#include "platform/text.h"

#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// The settings this program uses (the other 126 are kept in the store below).
extern ShortString<60> IpServidorCentral;     // database server, put in front of the database path
extern std::int32_t CorFundoTelas;            // main form background, suite colour encoding (see cores.h)
extern ShortString<30> UsarFCPrecoVenda;      // exactly "Sim": correction factor in the sale price
extern ShortString<30> UsarFatDiluicaoPreco;  // exactly "Sim": dilution factor in the sale price
extern ShortString<30> TempoLogoff;           // minutes after which a suite sign-on lapses
extern std::string CaminhoBackupManual;       // kept for the suite, not used here

// Removes space characters (code 32 only; tabs stay) from the start, then the end.
std::string AparaBrancos(std::string_view texto);

// Reads BRENVITA.INI from the executable's folder into the settings.
// - Missing file: a message, then the end of the program with exit code 1.
// - Unreadable file, or a colour that is not a whole number: the settings read
//   before that line are stored, later lines are not, and plataforma::Erro is
//   thrown for the general error handler; start-up goes on.
void LeConfiguracoes();

namespace configuracoes {

inline constexpr int kQuantidade = 131;
inline constexpr std::size_t kSemLimite = std::numeric_limits<std::size_t>::max();

// Column layout, as 0-based offsets.
inline constexpr std::size_t kTamanhoRotulo = 48;
inline constexpr std::size_t kInicioValor = 49;
inline constexpr std::size_t kTamanhoValor = 60;

enum class Tipo { Texto, Inteiro };

struct Definicao {
    std::string_view rotulo;  // exactly 48 bytes, ending with ':'
    Tipo tipo;
    std::size_t capacidade;   // texts: characters kept (kSemLimite: all); 0 for the integer
    std::string_view nome;    // the program variable, for the settings that have one
};

// The settings in file order: setting number n is definicoes()[n - 1].
const std::array<Definicao, kQuantidade>& definicoes();
// 1..131 for a label of the list (exact bytes, case-sensitive); 0 otherwise.
int numeroDoRotulo(std::string_view rotulo);

// Signed 32-bit whole number: decimal with an optional sign, or "$" followed by
// hexadecimal digits up to FFFFFFFF (taken as two's complement, so $FF00000F is
// -16777201). nullopt when the text is not such a number or is out of range.
std::optional<std::int32_t> converteInteiro(std::string_view texto);

// A line the reader ignores or cuts although it was meant for a setting of the
// list: a label with another case or number of dots (ignored), or the right
// label with its value already in column 49 (the value loses its first character).
struct Defeito {
    enum class Tipo { RotuloParecido, ValorNaColuna49 };
    Tipo tipo;
    int numero;  // the setting meant
};
std::optional<Defeito> defeitoDaLinha(std::string_view linha);

using Valor = std::variant<std::string, std::int32_t>;

// What a settings file says, before anything is stored.
struct Leitura {
    std::array<std::optional<Valor>, kQuantidade> valores;  // by number - 1; nullopt: not in the file
    std::optional<std::string> erro;  // why the reading stopped early (Windows-1252 message)
};

// The readers touch no program state, so tests and fuzzers can call them freely.
Leitura leConfiguracoes(const std::vector<std::string>& linhas);
Leitura leArquivoConfiguracoes(const std::string& caminho);

// Stores the values read into the settings; absent ones keep theirs.
void guarda(const Leitura& leitura);

// Any setting as text (label 6 as a decimal number); empty for an unknown number or label.
std::string valor(int numero);
std::string valor(std::string_view rotulo);

// The state before any reading: every text empty, CorFundoTelas the button-face colour.
void restauraPadroes();

}  // namespace configuracoes
