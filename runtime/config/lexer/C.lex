// Lexer schema of C sources and headers: comments, strings, character literals, numbers,
// keywords, preprocessor lines, and braces as blocks that fold.
// Colours are 0xRRGGBB. Separators '...' and @classes are listed with commas.

lexClass:
	name = c_file
	DisplayName = 'C source'
	parent:file = <*.c|*.h>
	CaseSensitive = 1
	global:FirstParseInSeparateThread = 1
	global:EditReparceInSeparateThread = 1
	global:ConfigChangedReparceInSeparateThread = 1
	global:EditReparceTimeout_ms = 500
	global:MaxBackParseOffset = 100
	global:OnScreenSchCacheLifeTime_sec = 180
	global:ParserThreadIdleLifeTime_sec = 60
	txt:colorFG = 0x000000
//:lexClass

lexClass:
	name = c_block_comment
	DisplayName = 'Comment'
	parent = c_file, c_block
	children = 0
	start:tag = '/*'
	end:tag = '*/'
	Collapsable = 1
	CollapsedText = '/* ... */'
	txt:colorFG = 0x008000
//:lexClass

lexClass:
	name = c_line_comment
	DisplayName = 'Line comment'
	parent = c_file, c_block, c_preprocessor
	children = 0
	start:tag = '//'
	// a backslash at the end of the line carries the comment on
	skip:tag = '\\\r\n', '\\\n'
	end:tag = @eol
	txt:colorFG = 0x008000
//:lexClass

lexClass:
	name = c_string
	DisplayName = 'String'
	parent = c_file, c_block, c_preprocessor
	children = 0
	start:tag = '"'
	skip:tag = '\\"', '\\\\', '\\\r\n'
	end:tag = '"', @eol
	txt:colorFG = 0xA31515
//:lexClass

lexClass:
	name = c_char
	DisplayName = 'Character'
	parent = c_file, c_block, c_preprocessor
	children = 0
	start:tag = '\''
	skip:tag = '\\\'', '\\\\'
	end:tag = '\'', @eol
	txt:colorFG = 0xA31515
//:lexClass

lexClass:
	name = c_number
	DisplayName = 'Number'
	parent = c_file, c_block, c_preprocessor
	children = 0
	previous:tag = @specs, ' ', '\t', @eol
	start:tag = @digit
	end:separators = @specs, ' ', '\t', @eol
	txt:colorFG = 0x098658
//:lexClass

lexClass:
	name = c_keyword
	DisplayName = 'Keyword'
	parent = c_file, c_block, c_preprocessor
	children = 0
	token:tag = 'auto', 'break', 'case', 'char', 'const', 'continue', 'default', 'do'
	token:tag = 'double', 'else', 'enum', 'extern', 'float', 'for', 'goto', 'if', 'inline'
	token:tag = 'int', 'long', 'register', 'restrict', 'return', 'short', 'signed', 'sizeof'
	token:tag = 'static', 'struct', 'switch', 'typedef', 'union', 'unsigned', 'void'
	token:tag = 'volatile', 'while', '_Bool', 'NULL'
	token:start:separators = @specs, ' ', '\t', @eol
	token:end:separators = @specs, ' ', '\t', @eol
	txt:colorFG = 0x0000FF
//:lexClass

lexClass:
	name = c_preprocessor
	DisplayName = 'Preprocessor'
	parent = c_file, c_block
	previous:tag = @eol
	previous:tag:separators = ' ', '\t'
	start:tag = '#'
	skip:tag = '\\\r\n', '\\\n'
	end:tag = @eol
	txt:colorFG = 0x808080
//:lexClass

lexClass:
	name = c_block
	DisplayName = 'Braces'
	parent = c_file, c_block
	start:tag = '{'
	end:tag = '}'
	Collapsable = 1
	CollapsedText = '{...}'
//:lexClass
