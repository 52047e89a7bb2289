-- What the tests' own checking statements use on the file and need on a server
-- too: group_concat(value) and group_concat(value, separator), joined in the
-- order the rows come, nulls left out. Only in the tests' template database.
CREATE FUNCTION pelm_test_join(joined text, value anynonarray, separator text) RETURNS text
LANGUAGE sql IMMUTABLE AS $$
    SELECT CASE WHEN value IS NULL THEN joined
                WHEN joined IS NULL THEN value::text
                ELSE joined || separator || value::text END
$$;
CREATE FUNCTION pelm_test_join(joined text, value anynonarray) RETURNS text
LANGUAGE sql IMMUTABLE AS $$ SELECT pelm_test_join(joined, value, ',') $$;
CREATE AGGREGATE group_concat(anynonarray, text) (sfunc = pelm_test_join, stype = text);
CREATE AGGREGATE group_concat(anynonarray) (sfunc = pelm_test_join, stype = text);
