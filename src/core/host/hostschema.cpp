// The CREATE statements of the host tables, all in one place.
//
// The week column semana is part of the key of the declaration tables but the form module
// never sets it: like a field with a default value in the host, a missing or Null semana is
// stored as 0 (NOT NULL ON CONFLICT REPLACE DEFAULT 0), so the key stays unique and a row
// written without it is still found by its other key columns. HCAB and HDET hold the key of
// CAB and DET with the sending number CORREL right after semana, so the first six columns of
// both history tables identify one sending.
#include "core/host/hostschema.h"

#include "core/data/database.h"

namespace qz {

namespace {

struct TableDdl {
    const char *name;
    const char *sql;
};

// clang-format off
constexpr TableDdl kTables[] = {
    {"PARAM",
     "CREATE TABLE PARAM ("
     " Numero TEXT COLLATE NOCASE NOT NULL,"
     " Argumento TEXT COLLATE NOCASE NOT NULL,"
     " Funcion TEXT COLLATE NOCASE,"
     " Correl_param TEXT COLLATE NOCASE,"
     " PRIMARY KEY (Numero, Argumento));"},
    // Nombre is the fourth column: the taxpayer list reads it by position.
    {"CONT",
     "CREATE TABLE CONT ("
     " Tip_doc_d INTEGER NOT NULL,"
     " Doc_id_d TEXT COLLATE NOCASE NOT NULL,"
     " Tipo_ingreso INTEGER,"
     " Nombre TEXT COLLATE NOCASE,"
     " Usuario TEXT COLLATE NOCASE,"
     " PRIMARY KEY (Tip_doc_d, Doc_id_d));"
     "CREATE INDEX CONT_Usuario ON CONT (Usuario);"},
    {"CLAVES",
     "CREATE TABLE CLAVES ("
     " Usuario TEXT COLLATE NOCASE NOT NULL,"
     " Tipo TEXT COLLATE NOCASE,"
     " PRIMARY KEY (Usuario));"},
    {"ERROR",
     "CREATE TABLE ERROR ("
     " CodError TEXT COLLATE NOCASE NOT NULL,"
     " DescError TEXT COLLATE NOCASE,"
     " PRIMARY KEY (CodError));"},
    {"CAB",
     "CREATE TABLE CAB ("
     " tip_doc_d INTEGER NOT NULL,"
     " doc_id_d TEXT COLLATE NOCASE NOT NULL,"
     " periodo TEXT COLLATE NOCASE NOT NULL,"
     " formulario TEXT COLLATE NOCASE NOT NULL,"
     " semana INTEGER NOT NULL ON CONFLICT REPLACE DEFAULT 0,"
     " fec_pro TEXT COLLATE NOCASE,"
     " bcolibrad TEXT COLLATE NOCASE,"
     " nrocheque TEXT COLLATE NOCASE,"
     " cheque TEXT COLLATE NOCASE,"
     " efectivo TEXT COLLATE NOCASE,"
     " estado INTEGER,"
     " rectifica TEXT COLLATE NOCASE,"
     " cNumero TEXT COLLATE NOCASE,"
     " PRIMARY KEY (tip_doc_d, doc_id_d, periodo, formulario, semana));"},
    {"DET",
     "CREATE TABLE DET ("
     " tip_doc_d INTEGER NOT NULL,"
     " doc_id_d TEXT COLLATE NOCASE NOT NULL,"
     " periodo TEXT COLLATE NOCASE NOT NULL,"
     " formulario TEXT COLLATE NOCASE NOT NULL,"
     " semana INTEGER NOT NULL ON CONFLICT REPLACE DEFAULT 0,"
     " Casilla TEXT COLLATE NOCASE NOT NULL,"
     " i_valor TEXT COLLATE NOCASE,"
     " idcasilla TEXT COLLATE NOCASE,"
     " cNumero TEXT COLLATE NOCASE,"
     " PRIMARY KEY (tip_doc_d, doc_id_d, periodo, formulario, semana, Casilla));"},
    {"HCAB",
     "CREATE TABLE HCAB ("
     " tip_doc_d INTEGER NOT NULL,"
     " doc_id_d TEXT COLLATE NOCASE NOT NULL,"
     " periodo TEXT COLLATE NOCASE NOT NULL,"
     " formulario TEXT COLLATE NOCASE NOT NULL,"
     " semana INTEGER NOT NULL ON CONFLICT REPLACE DEFAULT 0,"
     " CORREL TEXT COLLATE NOCASE NOT NULL,"
     " fec_pro TEXT COLLATE NOCASE,"
     " bcolibrad TEXT COLLATE NOCASE,"
     " nrocheque TEXT COLLATE NOCASE,"
     " cheque TEXT COLLATE NOCASE,"
     " efectivo TEXT COLLATE NOCASE,"
     " estado INTEGER,"
     " rectifica TEXT COLLATE NOCASE,"
     " NORDEN INTEGER,"
     " FEC_ENV DATETIME,"
     " CONTROL TEXT COLLATE NOCASE,"
     " cNumero TEXT COLLATE NOCASE,"
     " PRIMARY KEY (tip_doc_d, doc_id_d, periodo, formulario, semana, CORREL));"},
    {"HDET",
     "CREATE TABLE HDET ("
     " tip_doc_d INTEGER NOT NULL,"
     " doc_id_d TEXT COLLATE NOCASE NOT NULL,"
     " periodo TEXT COLLATE NOCASE NOT NULL,"
     " formulario TEXT COLLATE NOCASE NOT NULL,"
     " semana INTEGER NOT NULL ON CONFLICT REPLACE DEFAULT 0,"
     " CORREL TEXT COLLATE NOCASE NOT NULL,"
     " Casilla TEXT COLLATE NOCASE NOT NULL,"
     " i_valor TEXT COLLATE NOCASE,"
     " idcasilla TEXT COLLATE NOCASE,"
     " estado INTEGER,"
     " cNumero TEXT COLLATE NOCASE,"
     " PRIMARY KEY (tip_doc_d, doc_id_d, periodo, formulario, semana, CORREL, Casilla));"},
    // A report file name is never given twice; the expression index serves the search for
    // the highest file number (max(left(Archivo,8)) runs as max(substr(Archivo,1,8))).
    {"SPOOL",
     "CREATE TABLE SPOOL ("
     " CodRep TEXT COLLATE NOCASE NOT NULL,"
     " Secuencia INTEGER NOT NULL,"
     " Archivo TEXT COLLATE NOCASE NOT NULL,"
     " Fecha DATETIME,"
     " Usuario TEXT COLLATE NOCASE,"
     " Tip_doc_d INTEGER,"
     " Doc_id_d TEXT COLLATE NOCASE,"
     " PRIMARY KEY (CodRep, Secuencia));"
     "CREATE UNIQUE INDEX SPOOL_Archivo ON SPOOL (Archivo);"
     "CREATE INDEX SPOOL_NumArchivo ON SPOOL (substr(Archivo, 1, 8));"},
    // decltab inserts three values by position: code, description, 1.
    {"Reportes",
     "CREATE TABLE Reportes ("
     " CodRep TEXT COLLATE NOCASE NOT NULL,"
     " DescRep TEXT COLLATE NOCASE,"
     " Activo INTEGER,"
     " PRIMARY KEY (CodRep));"},
    // decltab inserts thirteen values by position.
    {"envio_t",
     "CREATE TABLE envio_t ("
     " formulario TEXT COLLATE NOCASE NOT NULL,"
     " tabla_o TEXT COLLATE NOCASE NOT NULL,"
     " tabla_d TEXT COLLATE NOCASE,"
     " tabla_ext TEXT COLLATE NOCASE,"
     " indice INTEGER,"
     " obliga INTEGER,"
     " c_tip_doc_d INTEGER,"
     " c_doc_id_d INTEGER,"
     " c_Formulario INTEGER,"
     " c_periodo INTEGER,"
     " c_estado INTEGER,"
     " c_envio INTEGER,"
     " c_semana INTEGER,"
     " PRIMARY KEY (formulario, tabla_o));"},
};
// clang-format on

} // namespace

QStringList hostTableNames()
{
    QStringList names;
    for (const TableDdl &table : kTables) {
        names << QString::fromLatin1(table.name);
    }
    return names;
}

void createHostSchema(Database &db)
{
    for (const TableDdl &table : kTables) {
        db.executeScript(QString::fromLatin1(table.sql));
    }
}

} // namespace qz
