// The host's SQL functions as PostgreSQL functions, written to give what the SQLite back end
// gives (dialect.cpp: SQLite's substr, length and trim, and our registered functions).
//
// Simple ones are LANGUAGE sql, IMMUTABLE and not STRICT, so that the planner inlines them (an
// index on the inlined expression stays usable); reading numbers and formatting are PL/pgSQL.
// Nothing raises and catches errors inside: an EXCEPTION block would start a subtransaction,
// which rules out PARALLEL SAFE and costs on every row.
//
// Argument types. The text argument of mid, left, right, len, ucase, lcase and the trims is
// anycompatible (with anyelement an untyped literal would be an error): an untyped literal or
// NULL becomes text, citext stays citext and is read as text, and numbers are turned into text
// by the qz_str overload of their type (a numeric literal such as 1.5, or a real, goes to the
// double precision one). Positions and counts are double precision, truncated toward zero as
// SQLite truncates them, so that an integer, a bigint or a double all fit. val and format have
// one overload per type, because val keeps the type of a number (val(5) is the integer 5) and
// format shows whole numbers without a decimal point.
//
// Not covered, or not quite the same:
// - format with a date pattern (one with d, m, y, h, n or s and no 0 or # before them) raises
//   an error instead of formatting a date;
// - right counts characters; Qt counts UTF-16 units, which differ beyond the BMP (emoji);
// - ucase and lcase use ICU's full case mappings, as Qt does; they may differ where ICU and
//   Qt carry different Unicode versions;
// - SQLite rounds the 15 digits of a REAL turned into text with extended precision; on a rare
//   tie in the 16th digit the last digit may differ;
// - a position given as text must be a plain number ('2abc' fails here, SQLite reads 2);
//   NaN (which SQLite never stores) gives NULL as text.
#include "core/data/pgfunctions.h"

namespace qz {

QString serverFunctionsScript()
{
    return QStringLiteral(R"sql(
-- ---- Numbers as text ----------------------------------------------------------------------

-- A double with 15 significant digits as SQLite shows a REAL (sqlite: "5.0", "1.0e+20",
-- "1.5e-05") or as format shows it without a pattern (not sqlite: "5", "1e+20").
CREATE OR REPLACE FUNCTION qz_g15(x double precision, sqlite boolean) RETURNS text
LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS $$
DECLARE
    sign text := CASE WHEN x < 0 THEN '-' ELSE '' END;
    n numeric;
    t text;
    frac text;
    sig text;
    e integer;
BEGIN
    IF x = 'NaN' THEN
        RETURN CASE WHEN sqlite THEN NULL ELSE 'nan' END;
    ELSIF x IN ('Infinity', '-Infinity') THEN
        RETURN sign || CASE WHEN sqlite THEN 'Inf' ELSE 'inf' END;
    END IF;
    -- The cast rounds to 15 significant digits as printf's "%.15g" does.
    n := abs(x)::numeric;
    IF n = 0 THEN
        RETURN CASE WHEN sqlite THEN '0.0' ELSE '0' END;
    END IF;
    t := trim_scale(n)::text;
    IF n >= 1 THEN
        e := length(split_part(t, '.', 1)) - 1;
    ELSE
        frac := split_part(t, '.', 2);
        e := length(ltrim(frac, '0')) - length(frac) - 1;
    END IF;
    IF e >= -4 AND e < 15 THEN
        RETURN sign || t || CASE WHEN sqlite AND strpos(t, '.') = 0 THEN '.0' ELSE '' END;
    END IF;
    sig := trim(BOTH '0' FROM replace(t, '.', ''));
    RETURN sign || left(sig, 1)
        || CASE WHEN length(sig) > 1 THEN '.' || substr(sig, 2) WHEN sqlite THEN '.0' ELSE '' END
        || 'e' || CASE WHEN e < 0 THEN '-' ELSE '+' END
        || CASE WHEN abs(e) < 10 THEN '0' ELSE '' END || abs(e)::text;
END
$$;

-- The text SQLite's string functions see for a value.
CREATE OR REPLACE FUNCTION qz_str(s text) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT s $$;
CREATE OR REPLACE FUNCTION qz_str(x smallint) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT x::text $$;
CREATE OR REPLACE FUNCTION qz_str(x integer) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT x::text $$;
CREATE OR REPLACE FUNCTION qz_str(x bigint) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT x::text $$;
CREATE OR REPLACE FUNCTION qz_str(x double precision) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT qz_g15(x, true) $$;

-- ---- mid, left, right, len ----------------------------------------------------------------

-- A position or count truncated toward zero and kept inside integer.
CREATE OR REPLACE FUNCTION qz_int(x double precision) RETURNS integer
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
SELECT CASE WHEN x > 2147483647 THEN 2147483647
            WHEN x < -2147483647 THEN -2147483647
            ELSE trunc(x)::integer END
$$;

-- SQLite's substr(s, a, b): a > 0 counts from the left, a < 0 from the right, a = 0 stands
-- before the first character; a negative b takes the |b| characters before position a.
-- qz_substr_start is the 0-based first character, qz_substr_count how many follow.
CREATE OR REPLACE FUNCTION qz_substr_start(s text, a integer) RETURNS integer
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
SELECT CASE WHEN a > 0 THEN a - 1 WHEN a = 0 THEN 0 ELSE greatest(a + char_length(s), 0) END
$$;
CREATE OR REPLACE FUNCTION qz_substr_count(s text, a integer, b integer) RETURNS integer
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
SELECT CASE WHEN a > 0 THEN abs(b)
            WHEN a = 0 THEN greatest(abs(b) - 1, 0)
            ELSE greatest(abs(b) + least(a + char_length(s), 0), 0) END
$$;
CREATE OR REPLACE FUNCTION qz_substr(s text, a integer, b integer) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
SELECT CASE WHEN a IS NULL OR b IS NULL THEN NULL
            WHEN b >= 0 THEN substr(s, qz_substr_start(s, a) + 1, qz_substr_count(s, a, b))
            ELSE substr(s, greatest(qz_substr_start(s, a) - qz_substr_count(s, a, b), 0) + 1,
                        least(qz_substr_count(s, a, b), qz_substr_start(s, a))) END
$$;
CREATE OR REPLACE FUNCTION qz_substr(s text, a integer) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
SELECT CASE WHEN a IS NULL THEN NULL ELSE substr(s, qz_substr_start(s, a) + 1) END
$$;

CREATE OR REPLACE FUNCTION qz_mid(s anycompatible, start double precision) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT qz_substr(qz_str(s), qz_int(start)) $$;
CREATE OR REPLACE FUNCTION qz_mid(s anycompatible, start double precision, count double precision)
RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
SELECT qz_substr(qz_str(s), qz_int(start), qz_int(count))
$$;
CREATE OR REPLACE FUNCTION qz_left(s anycompatible, n double precision) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT qz_substr(qz_str(s), 1, qz_int(n)) $$;
CREATE OR REPLACE FUNCTION qz_right(s anycompatible, n double precision) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
SELECT CASE WHEN n IS NULL THEN NULL ELSE right(qz_str(s), greatest(qz_int(n), 0)) END
$$;
CREATE OR REPLACE FUNCTION qz_len(s anycompatible) RETURNS integer
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT char_length(qz_str(s)) $$;

-- ---- ucase, lcase and the trims -----------------------------------------------------------

-- ICU's root locale has Qt's full mappings (ß is SS, İ is i and a combining dot), whatever
-- the database's locale. Qt lowers every capital sigma to σ, ICU makes a final one ς: the
-- translate keeps Qt's way.
CREATE OR REPLACE FUNCTION qz_ucase(s anycompatible) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT upper(qz_str(s) COLLATE "und-x-icu") $$;
CREATE OR REPLACE FUNCTION qz_lcase(s anycompatible) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
SELECT lower(translate(qz_str(s), 'Σ', 'σ') COLLATE "und-x-icu")
$$;

-- Blanks (spaces) only, as SQLite's trims.
CREATE OR REPLACE FUNCTION qz_trim(s anycompatible) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT btrim(qz_str(s)) $$;
CREATE OR REPLACE FUNCTION qz_ltrim(s anycompatible) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT ltrim(qz_str(s)) $$;
CREATE OR REPLACE FUNCTION qz_rtrim(s anycompatible) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT rtrim(qz_str(s)) $$;

-- ---- Reading numbers out of text ----------------------------------------------------------

-- The double nearest to a decimal (mantissa: optional sign, digits and at most one point, with
-- at least one digit; times 10^exponent). Infinity of the sign beyond the doubles' range and
-- NULL when a non-zero value rounds to zero, decided before the cast so that it never fails.
CREATE OR REPLACE FUNCTION qz_decimal(mantissa text, exponent numeric) RETURNS double precision
LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS $$
DECLARE
    negative boolean := left(mantissa, 1) = '-';
    whole text := split_part(ltrim(mantissa, '+-'), '.', 1);
    digits text := replace(ltrim(mantissa, '+-'), '.', '');
    sig text := ltrim(digits, '0');
    pos numeric; -- the value is 0.<sig> x 10^pos
BEGIN
    pos := length(whole) - (length(digits) - length(sig)) + exponent;
    sig := rtrim(sig, '0');
    IF sig = '' THEN
        RETURN CASE WHEN negative THEN '-0'::double precision ELSE 0 END;
    END IF;
    -- Rounding reaches infinity from 2^1024 - 2^970 (half an ulp above the largest double) on.
    IF pos > 309 OR (pos = 309 AND ('0.' || sig || 'e309')::numeric
                                   >= 2::numeric ^ 1024 - 2::numeric ^ 970) THEN
        RETURN CASE WHEN negative THEN '-Infinity' ELSE 'Infinity' END::double precision;
    END IF;
    -- And zero up to 2^-1075 (half the smallest denormal).
    IF pos < -323 OR (pos = -323 AND ('0.' || sig || 'e-323')::numeric * 2::numeric ^ 1075 <= 1)
    THEN
        RETURN NULL;
    END IF;
    RETURN (CASE WHEN negative THEN '-' ELSE '' END || '0.' || sig || 'e' || pos)::double precision;
END
$$;

-- Whole number of "&H" (base 16) or "&O" (base 8) digits, summed in doubles as the host does
-- (infinity past the largest). whole: every character must be a digit and there must be one
-- (NULL otherwise); else blanks are skipped and the first other character ends the number.
CREATE OR REPLACE FUNCTION qz_radix(digits text, base integer, whole boolean)
RETURNS double precision
LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS $$
DECLARE
    c text;
    d integer;
    result double precision := 0;
    seen boolean := false;
BEGIN
    FOREACH c IN ARRAY coalesce(string_to_array(digits, NULL), '{}') LOOP
        CONTINUE WHEN NOT whole AND strpos(E' \t\n\r', c) > 0;
        d := strpos('0123456789ABCDEFabcdef', c) - 1;
        IF d >= 16 THEN
            d := d - 6;
        END IF;
        IF d < 0 OR d >= base THEN
            IF whole THEN
                RETURN NULL;
            END IF;
            EXIT;
        END IF;
        seen := true;
        -- Times a power of two is exact up to the largest double: past it is infinity.
        IF result > '1.7976931348623157e308'::double precision / base THEN
            result := 'Infinity';
        ELSE
            result := result * base + d;
        END IF;
    END LOOP;
    RETURN CASE WHEN whole AND NOT seen THEN NULL ELSE result END;
END
$$;

-- val of a number keeps the number and its type.
CREATE OR REPLACE FUNCTION qz_val(x smallint) RETURNS smallint
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT x $$;
CREATE OR REPLACE FUNCTION qz_val(x integer) RETURNS integer
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT x $$;
CREATE OR REPLACE FUNCTION qz_val(x bigint) RETURNS bigint
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT x $$;
CREATE OR REPLACE FUNCTION qz_val(x double precision) RETURNS double precision
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT x $$;

-- val of a text: the number it starts with. Blanks anywhere are skipped; a sign, digits, one
-- point and an exponent (E or D) are read, or "&H"/"&O"/"&" and digits; 0 when there is none.
-- A number beyond a double's range fails as an overflow, so a sum over it is never a total.
CREATE OR REPLACE FUNCTION qz_val_text(s text) RETURNS double precision
LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS $$
DECLARE
    rest text := ltrim(s, E' \t\n\r');
    kind text := substr(rest, 2, 1);
    m text[];
    v double precision;
BEGIN
    IF left(rest, 1) = '&' AND kind <> '' THEN
        v := CASE WHEN kind IN ('H', 'h') THEN qz_radix(substr(rest, 3), 16, false)
                  WHEN kind IN ('O', 'o') THEN qz_radix(substr(rest, 3), 8, false)
                  WHEN strpos('0123456789', kind) > 0 THEN qz_radix(substr(rest, 2), 8, false)
                  ELSE 0 END;
    ELSE
        -- Blanks never end the number, so the text without them starts with the same one.
        m := regexp_match(translate(rest, E' \t\n\r', ''),
                          '^([-+]?[0-9]*\.?[0-9]*)(?:[eEdD]([-+]?[0-9]*))?');
        IF m[1] !~ '[0-9]' THEN
            RETURN 0;
        END IF;
        -- An exponent without digits is dropped; a value too small for a double reads 0.
        v := coalesce(qz_decimal(m[1], coalesce(substring(m[2] FROM '^[-+]?[0-9]+$'), '0')::numeric),
                      0);
    END IF;
    IF v IN ('Infinity', '-Infinity') THEN
        RAISE EXCEPTION 'Desbordamiento' USING ERRCODE = 'numeric_value_out_of_range';
    END IF;
    RETURN v;
END
$$;

-- Most texts given to val are box numbers and amounts of plain digits: those are read by a cast,
-- which the planner inlines, and only the rest goes through the reader above (a PL/pgSQL call
-- costs some microseconds, and a save reads every box row's number).
CREATE OR REPLACE FUNCTION qz_val(s text) RETURNS double precision
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
SELECT CASE WHEN s ~ '^[0-9]{1,15}$' THEN s::double precision ELSE qz_val_text(s) END
$$;

-- A whole text read as a number before it is formatted: blanks skipped, "," grouping the digits
-- before the point, a sign in front or behind, parentheses for negative, "&H"/"&O" numbers.
-- NULL when the text is not a number or the number is out of a double's range.
CREATE OR REPLACE FUNCTION qz_read_number(s text) RETURNS double precision
LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS $$
DECLARE
    t text := translate(s, E' \t\n\r', '');
    negative boolean := false;
    parentheses boolean := false;
    m text[];
    v double precision;
BEGIN
    IF t = '' THEN
        RETURN NULL;
    END IF;
    IF length(t) > 1 AND left(t, 1) = '&' THEN
        RETURN CASE WHEN substr(t, 2, 1) IN ('H', 'h') THEN qz_radix(substr(t, 3), 16, true)
                    WHEN substr(t, 2, 1) IN ('O', 'o') THEN qz_radix(substr(t, 3), 8, true) END;
    END IF;
    -- "-(1,500)" is what a one-section pattern with parentheses shows for -1500.
    IF left(t, 2) = '-(' THEN
        negative := true;
        t := substr(t, 2);
    END IF;
    IF left(t, 1) = '(' AND right(t, 1) = ')' AND length(t) > 2 THEN
        negative := true;
        parentheses := true;
        t := substr(t, 2, length(t) - 2);
    END IF;
    IF NOT parentheses AND left(t, 1) IN ('-', '+') THEN
        negative := left(t, 1) = '-';
        t := substr(t, 2);
    ELSIF NOT parentheses AND length(t) > 1 AND right(t, 1) IN ('-', '+') THEN
        negative := right(t, 1) = '-';
        t := left(t, -1);
    END IF;
    m := regexp_match(t, '^((?:[0-9][0-9,]*)?(?:\.[0-9]*)?)(?:[eE]([-+]?[0-9]+))?$');
    IF m IS NULL OR m[1] !~ '[0-9]' THEN
        RETURN NULL;
    END IF;
    v := qz_decimal(replace(m[1], ',', ''), coalesce(m[2], '0')::numeric);
    IF v IS NULL OR v IN ('Infinity', '-Infinity') THEN
        RETURN NULL;
    END IF;
    RETURN CASE WHEN negative THEN -v ELSE v END;
END
$$;

-- ---- format -------------------------------------------------------------------------------

-- A date pattern: a date letter (d m y h n s, either case) before any 0 or #, quoted and
-- escaped characters aside.
CREATE OR REPLACE FUNCTION qz_format_is_date(pattern text) RETURNS boolean
LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS $$
DECLARE
    c text[] := coalesce(string_to_array(pattern, NULL), '{}');
    i integer := 1;
    letter boolean := false;
BEGIN
    WHILE i <= cardinality(c) LOOP
        IF c[i] = E'\\' THEN
            i := i + 1;
        ELSIF c[i] = '"' THEN
            i := coalesce(array_position(c, '"', i + 1), cardinality(c));
        ELSIF c[i] IN ('0', '#') THEN
            RETURN false;
        ELSIF c[i] IN ('d', 'D', 'm', 'M', 'y', 'Y', 'h', 'H', 'n', 'N', 's', 'S') THEN
            letter := true;
        END IF;
        i := i + 1;
    END LOOP;
    RETURN letter;
END
$$;

-- The ";" sections of a numeric pattern (quotes and escapes kept in them).
CREATE OR REPLACE FUNCTION qz_format_sections(pattern text) RETURNS text[]
LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS $$
DECLARE
    c text[] := coalesce(string_to_array(pattern, NULL), '{}');
    i integer := 1;
    k integer := 1;
    quoted boolean := false;
    sections text[] := ARRAY[''];
BEGIN
    WHILE i <= cardinality(c) LOOP
        IF c[i] = '"' THEN
            quoted := NOT quoted;
        ELSIF c[i] = E'\\' AND NOT quoted AND i < cardinality(c) THEN
            sections[k] := sections[k] || c[i] || c[i + 1];
            i := i + 2;
            CONTINUE;
        ELSIF c[i] = ';' AND NOT quoted THEN
            k := k + 1;
            sections[k] := '';
            i := i + 1;
            CONTINUE;
        END IF;
        sections[k] := sections[k] || c[i];
        i := i + 1;
    END LOOP;
    RETURN sections;
END
$$;

-- One section split at its decimal point. whole and fraction hold "0" and "#" placeholders
-- and literals as "L" and their text ("%" included); a comma before the point only sets
-- grouped. min_whole counts the placeholders from the first "0" to the point, min_decimals
-- those up to the last "0" after it.
CREATE OR REPLACE FUNCTION qz_format_layout(section text, OUT whole text[], OUT fraction text[],
    OUT has_point boolean, OUT grouped boolean, OUT percent boolean, OUT whole_places integer,
    OUT min_whole integer, OUT decimals integer, OUT min_decimals integer)
LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS $$
DECLARE
    c text[] := coalesce(string_to_array(section, NULL), '{}');
    i integer := 1;
    closing integer;
    tok text;
    zero_seen boolean := false;
BEGIN
    whole := '{}';
    fraction := '{}';
    has_point := false;
    grouped := false;
    percent := false;
    whole_places := 0;
    min_whole := 0;
    decimals := 0;
    min_decimals := 0;
    WHILE i <= cardinality(c) LOOP
        tok := NULL;
        IF c[i] IN ('0', '#') THEN
            tok := c[i];
        ELSIF c[i] = '.' AND NOT has_point THEN
            has_point := true;
        ELSIF c[i] = ',' THEN
            grouped := grouped OR NOT has_point;
        ELSIF c[i] = '%' THEN
            percent := true;
            tok := 'L%';
        ELSIF c[i] = E'\\' AND i < cardinality(c) THEN
            i := i + 1;
            tok := 'L' || c[i];
        ELSIF c[i] = '"' THEN
            closing := coalesce(array_position(c, '"', i + 1), cardinality(c) + 1);
            tok := 'L' || array_to_string(c[i + 1:closing - 1], '');
            i := closing;
        ELSE
            tok := 'L' || c[i];
        END IF;
        i := i + 1;
        CONTINUE WHEN tok IS NULL;
        IF has_point THEN
            fraction := fraction || tok;
            IF tok IN ('0', '#') THEN
                decimals := decimals + 1;
                IF tok = '0' THEN
                    min_decimals := decimals;
                END IF;
            END IF;
        ELSE
            whole := whole || tok;
            IF tok IN ('0', '#') THEN
                whole_places := whole_places + 1;
                zero_seen := zero_seen OR tok = '0';
                IF zero_seen THEN
                    min_whole := min_whole + 1;
                END IF;
            END IF;
        END IF;
    END LOOP;
END
$$;

-- A decimal with a numeric pattern: the section its sign selects (a negative one without its
-- minus), rounded half away from zero to that section's decimals; a value that rounds to zero
-- takes the zero section, or the first, and no minus. Digits fill the placeholders from the
-- right, the first placeholder takes those the pattern has no room for; "#" shows no
-- insignificant digit.
CREATE OR REPLACE FUNCTION qz_format_digits(v numeric, pattern text) RETURNS text
LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS $$
DECLARE
    sections text[] := qz_format_sections(pattern);
    sect text := sections[1];
    minus boolean := v < 0;
    mag numeric := abs(v);
    lay record;
    digits text;
    pieces text[] := '{}';
    n integer;
    used integer := 0;
    place integer := 0;
    covers integer;
    tok text;
    fraction text;
    shown integer := 0;
    result text := '';
BEGIN
    IF v < 0 AND cardinality(sections) >= 2 AND sections[2] <> '' THEN
        sect := sections[2];
        minus := false;
    END IF;
    SELECT * INTO lay FROM qz_format_layout(sect);
    IF lay.percent THEN
        mag := mag * 100;
    END IF;
    mag := round(mag, lay.decimals);
    IF mag = 0 THEN
        minus := false;
        IF cardinality(sections) >= 3 AND sections[3] <> '' THEN
            SELECT * INTO lay FROM qz_format_layout(sections[3]);
        ELSIF sect <> sections[1] THEN
            SELECT * INTO lay FROM qz_format_layout(sections[1]);
        END IF;
    END IF;
    digits := CASE WHEN mag >= 1 THEN trunc(mag)::text ELSE '' END;
    digits := lpad(digits, greatest(length(digits), lay.min_whole), '0');
    n := length(digits);
    -- Each digit with the thousands comma that follows it.
    FOR i IN 1..n LOOP
        pieces := pieces || (substr(digits, i, 1)
            || CASE WHEN lay.grouped AND n - i > 0 AND (n - i) % 3 = 0 THEN ',' ELSE '' END);
    END LOOP;
    FOREACH tok IN ARRAY lay.whole LOOP
        IF tok NOT IN ('0', '#') THEN
            result := result || substr(tok, 2);
            CONTINUE;
        END IF;
        covers := lay.whole_places - 1 - place;
        IF place = 0 AND n - used > covers THEN
            result := result || array_to_string(pieces[used + 1:n - covers], '');
            used := n - covers;
        ELSIF place > 0 AND used < n AND n - 1 - used = covers THEN
            result := result || pieces[used + 1];
            used := used + 1;
        END IF;
        place := place + 1;
    END LOOP;
    result := result || array_to_string(pieces[used + 1:n], '');
    IF lay.has_point THEN
        result := result || '.';
    END IF;
    fraction := CASE WHEN lay.decimals > 0
                     THEN lpad(trunc((mag - trunc(mag)) * 10::numeric ^ lay.decimals)::text,
                               lay.decimals, '0')
                     ELSE '' END;
    WHILE length(fraction) > lay.min_decimals AND right(fraction, 1) = '0' LOOP
        fraction := left(fraction, -1);
    END LOOP;
    FOREACH tok IN ARRAY lay.fraction LOOP
        IF tok NOT IN ('0', '#') THEN
            result := result || substr(tok, 2);
        ELSIF shown < length(fraction) THEN
            shown := shown + 1;
            result := result || substr(fraction, shown, 1);
        END IF;
    END LOOP;
    RETURN CASE WHEN minus THEN '-' || result ELSE result END;
END
$$;

-- A double with a non-empty pattern. The host rounds the shortest decimal that reads back as
-- the double (2.675 rounds up to 2.68): extra_float_digits = 1 makes the text that decimal
-- whatever the session has set.
CREATE OR REPLACE FUNCTION qz_format_number(x double precision, pattern text) RETURNS text
LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE SET extra_float_digits = 1 AS $$
BEGIN
    IF x IN ('Infinity', '-Infinity', 'NaN') THEN
        RETURN '';
    END IF;
    IF qz_format_is_date(pattern) THEN
        RAISE EXCEPTION 'qz_format: date pattern "%" is not supported on this server', pattern
            USING ERRCODE = 'feature_not_supported';
    END IF;
    RETURN qz_format_digits(x::text::numeric, pattern);
END
$$;

-- A non-empty text with a non-empty pattern: formatted as the number it reads as, or as it is.
CREATE OR REPLACE FUNCTION qz_format_text(s text, pattern text) RETURNS text
LANGUAGE plpgsql IMMUTABLE STRICT PARALLEL SAFE AS $$
DECLARE
    v double precision;
BEGIN
    IF qz_format_is_date(pattern) THEN
        RAISE EXCEPTION 'qz_format: date pattern "%" is not supported on this server', pattern
            USING ERRCODE = 'feature_not_supported';
    END IF;
    v := qz_read_number(s);
    RETURN CASE WHEN v IS NULL THEN s ELSE qz_format_number(v, pattern) END;
END
$$;

-- format(x) and format(x, pattern); a NULL or empty pattern is no pattern. Whole numbers
-- with a pattern go through a double, as on SQLite.
CREATE OR REPLACE FUNCTION qz_format(x text) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT x $$;
CREATE OR REPLACE FUNCTION qz_format(x text, pattern text) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
SELECT CASE WHEN x = '' OR coalesce(pattern, '') = '' THEN x ELSE qz_format_text(x, pattern) END
$$;
CREATE OR REPLACE FUNCTION qz_format(x smallint) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT x::text $$;
CREATE OR REPLACE FUNCTION qz_format(x smallint, pattern text) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
SELECT CASE WHEN coalesce(pattern, '') = '' THEN x::text
            ELSE qz_format_number(x::double precision, pattern) END
$$;
CREATE OR REPLACE FUNCTION qz_format(x integer) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT x::text $$;
CREATE OR REPLACE FUNCTION qz_format(x integer, pattern text) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
SELECT CASE WHEN coalesce(pattern, '') = '' THEN x::text
            ELSE qz_format_number(x::double precision, pattern) END
$$;
CREATE OR REPLACE FUNCTION qz_format(x bigint) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT x::text $$;
CREATE OR REPLACE FUNCTION qz_format(x bigint, pattern text) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
SELECT CASE WHEN coalesce(pattern, '') = '' THEN x::text
            ELSE qz_format_number(x::double precision, pattern) END
$$;
CREATE OR REPLACE FUNCTION qz_format(x double precision) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$ SELECT qz_g15(x, false) $$;
CREATE OR REPLACE FUNCTION qz_format(x double precision, pattern text) RETURNS text
LANGUAGE sql IMMUTABLE PARALLEL SAFE AS $$
SELECT CASE WHEN coalesce(pattern, '') = '' THEN qz_g15(x, false)
            ELSE qz_format_number(x, pattern) END
$$;
)sql");
}

} // namespace qz
