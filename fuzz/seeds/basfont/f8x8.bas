' f8x8.bas
' Font type    : Full (5 characters)
' Font start   : CHR$(32)
' Font size    : 8x8 pixels
' Memory usage : 44 bytes
DefineFont #8
  05200808
  00000080 01000000 00100000 00000000 00000000 00000008 00000000 00000000
  00000000 00400000
End DefineFont
