// Registering report files in the host's table SPOOL.
//
// Every report file gets one SPOOL row: its report code, a sequence per code ("000001" for a
// code's first report), a file name numbered over the whole table ("00000001.PRN" for the
// first file of all), the date and time, the user and the taxpayer's document. The caller
// then creates the file under that name in the report folder RPT.
//
// Registration reads the two highest numbers and inserts the row inside one BEGIN IMMEDIATE
// transaction, so two programs registering at the same moment never get the same name: the
// second waits (up to the connection's busy timeout) until the first has committed.
//
// Both maxima are answered from indexes, so registration stays fast with millions of rows:
// the file number from an expression index on substr(Archivo,1,8) (what max(left(Archivo,8))
// becomes in the host dialect), the sequence from an index that starts with (CodRep,
// Secuencia) (the table's primary key in a host installation). A database whose SPOOL lacks
// either gets it at its first registration (CREATE INDEX IF NOT EXISTS, built-in functions
// only, so the host's other programs and a plain sqlite3 can still use the table).
#pragma once

#include "core/data/database.h"

#include <QString>

namespace qz {

// The report codes installed in table Reportes.
constexpr const char *kReportDeclaracion = "OKR001";       // declaration without the annex
constexpr const char *kReportResumen = "OKR002";           // summary of a generated declaration
constexpr const char *kReportDeclaracionAnexos = "OKR003"; // declaration with the box 105 annex

// Registers a new report file and returns its bare name (eight digits and ".PRN").
// codRep: report code; tipDoc: the taxpayer's document type (6 for a RUC); docId: the
// document number, stored trimmed; usuario: SysUser of the configuration. Fecha is qz::now().
// Runs in its own transaction, or inside the caller's when one is open. Throws DbError;
// then nothing is stored and no name is given.
QString pRegistraSpool(Database &db, const QString &codRep, int tipDoc, const QString &docId,
                       const QString &usuario);

// Creates the two indexes registration relies on when SPOOL has no equivalent ones.
// Throws DbError.
void ensureSpoolIndexes(Database &db);

} // namespace qz
