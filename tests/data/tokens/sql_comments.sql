# args: --lang sql
SELECT a.b, c FROM t /* a block comment
   that runs over -- these lines
   to here */ WHERE x = 1;
/*/ after it, code again: a * b
/*/ select
// a slash comment
-- a dash comment with /* nothing opened
x - y -- z
'it''s' "a \"quoted\" string" 'a -- in a string' "unclosed
'unclosed too
