#include "data/dm2.h"

#include "data/catalogo.h"
#include "data/conexao.h"

namespace dados {

DM2::DM2()
    : fornec("Fornec", "Forneced", &SQLConnection1, "FORNECED", ModoAtualizacao::SomenteChave,
             "select CODIGO, NOME, NOMEFANTASIA, ENDERECO, COMPLEMENTO, CEP, CIDADE, ESTADO, TEL, FAX, "
             "E_MAIL, SITE, CNPJ, IE, IM, PRAZO_PAGAMENTO from FORNECED order by NOMEFANTASIA",
             &camposForneced()),
      cotDolar("CotDolar", "CotDolar", &SQLConnection1, "COTDOLAR", ModoAtualizacao::TodasColunas,
               "select COTDOLAR from COTDOLAR", &camposCotDolar()) {
    Forneced.AfterPost = [this](ClientDataSet& d) { FornecedAfterPost(d); };
    Forneced.AfterDelete = [this](ClientDataSet& d) { FornecedAfterDelete(d); };
}

void DM2::comecaAbertura() { abertura_ = comecaConexaoPrincipal(SQLConnection1); }

void DM2::DataModuleCreate() {
    if (abertura_.valid())
        concluiConexaoPrincipal(abertura_);
    else
        abreConexaoPrincipal(SQLConnection1);
}

// Refused rows stay pending, unannounced.
void DM2::FornecedAfterPost(ClientDataSet& ds) {
    static_cast<void>(ds.applyUpdates(-1));
    ds.refresh();
}

void DM2::FornecedAfterDelete(ClientDataSet& ds) {
    static_cast<void>(ds.applyUpdates(-1));
    ds.refresh();
}

}  // namespace dados
