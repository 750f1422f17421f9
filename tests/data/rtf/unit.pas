// args: --lang pascal
unit Shapes;
{ a comment with a \ and braces }
interface
type
  TShape = class
    property Size: Integer read FSize write FSize;
  end;
procedure Draw; assembler;
asm
  mov eax, 1
end;
const S = 'it''s' + #13#10;
