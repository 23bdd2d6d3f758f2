#pragma once
// A read-only, centred, word-wrapped display of one field (a page's subject).
#include "form/widgets/ligacao.h"

#include <QLabel>
#include <string>

namespace widgets {

class DBRotulo : public QLabel {
    Q_OBJECT
public:
    explicit DBRotulo(QWidget* parent = nullptr);

    void liga(dados::DataSource* fonte, std::string campo);
    std::string texto() const;  // Windows-1252

private:
    void mostraCampo();

    LigacaoCampo ligacao_;
};

}  // namespace widgets
