' args: --lang vbscript
Dim x, y : x = "a ""q"" b" & #1/1/2000# ' comment
  ' whole comment
If x <> 1.5E3 Then Rem not a comment
dim DIM Dim ? $ _a1
"""triple""" <= >= < > 
x = "not closed on its line
y = #not closed either
z = 12.5e3 + 7 - 3 * (4 / 2) ^ 1 ; {braces} mod 3 and not or Xor
Private Function Randomize_me(ByVal a) ' trailing
End Function
Option Explicit: property Property PROPERTY
@ % ! ~ | \ ` é
