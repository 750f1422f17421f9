// args: --lang pascal
type
  TThing = class(TObject)
  private
    FName: string;
    property Name: string read FName write FName stored True default 0;
    property Size: Integer read GetSize
      write SetSize nodefault;
  public
    procedure Read; overload;
    function Write: Integer; reintroduce; implements
  published
    property Tag: Integer index 3 read FTag; x private
    property Open: Boolean read FOpen { a comment
      over lines } write FOpen;
  automated
  end;
procedure Fast; assembler;
asm
  mov eax, 1 { comment inside }
  (* a parenthesis
     comment *) push ebx
  db 'text', 10
end;
(*) still open: the star and parenthesis after the opener close nothing
 *) x := End1 + end_2;
