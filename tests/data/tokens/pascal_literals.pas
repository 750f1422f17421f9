// args: --lang pascal
s := 'it''s' + '''triple''' + #13#10 + 'unclosed
n := $FF + $1a2B + 1..10 + 3.14 + 1E5 + 2.5e-3;
p := @@x + @y; a[(.1.)] := b^ <> c <= d >= e < f > g : h;
{ brace comment } (* paren comment *) // slash comment
| é ! " % & ? ` ~
begin END Begin eNd
