' block
  definefont #8
	03410208
' words
  0201ff80	00000403

  0000000 12345678
  end  define font ' x
DATA 1,2
