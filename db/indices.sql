/* Indexes recommended to whoever keeps the suite's schema. The capsule
   register never creates them; "capsulas --check" says which of them (or an
   index with the same columns or expression) the suite database lacks.
   Run with isql against the suite database, like db/suite.sql. */

-- The capsule list, "select ... from COMPONEN where GRUPO = 'CAP' order by COMPONENTE", and the description search.
CREATE INDEX IX_COMPONEN_GRUPO_COMPONENTE ON COMPONEN (GRUPO, COMPONENTE);

-- The last purchases, "... from COMPRAS CP, NFISCAL NF where ... AND UPPER(CP.COMPONENTE) = ?".
CREATE INDEX IX_COMPRAS_UPPER_COMPONENTE ON COMPRAS COMPUTED BY (UPPER(COMPONENTE));

-- The last purchases' telephone, "Select First 1 forneced.tel from forneced where upper(forneced.nomefantasia) = ...".
CREATE INDEX IX_FORNECED_UPPER_NOMEFANTASIA ON FORNECED COMPUTED BY (UPPER(NOMEFANTASIA));

COMMIT;
