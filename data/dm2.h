#pragma once
// The second data module: its own connection to the suite database and the
// supplier and dollar-rate datasets.
#include "data/dm.h"

#include <future>

namespace dados {

class DM2 {
public:
    DM2();
    DM2(const DM2&) = delete;
    DM2& operator=(const DM2&) = delete;

    // Opens the connection the same way as DM; a failure ends the program.
    // After comecaAbertura(), awaits the opening begun there instead.
    void DataModuleCreate();
    // Begins opening the connection on a thread of its own, so that its round
    // trips to the server go beside other work of the start-up.
    void comecaAbertura();

    fb::Conexao SQLConnection1{"BrenDados"};
    Cadeia fornec;   // SQLDS_Fornec, DSP_Fornec, Forneced, DS_Fornec
    Cadeia cotDolar; // SQLDS_CotDolar, DSP_CotDolar, CotDolar, DS_CotDolar
    ClientDataSet& Forneced = fornec.cds;
    ClientDataSet& CotDolar = cotDolar.cds;

    void FornecedAfterPost(ClientDataSet&);
    void FornecedAfterDelete(ClientDataSet&);

private:
    std::future<void> abertura_;
};


}  // namespace dados
