// Lexer schema of XML documents (WSDL, XML Schema, XML, protocol files): tags, attribute
// values, comments, CDATA sections, processing instructions, and elements as blocks that
// fold. An element opens at "<"; it ends with its own end tag or with "/>".

lexClass:
	name = xml_file
	DisplayName = 'XML document'
	parent:file = <*.wsdl|*.xsd|*.xml|*.zbq>
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
	name = xml_comment
	DisplayName = 'Comment'
	parent = xml_file, xml_element
	children = 0
	start:tag = '<!--'
	end:tag = '-->'
	Collapsable = 1
	CollapsedText = '<!-- ... -->'
	txt:colorFG = 0x008000
//:lexClass

lexClass:
	name = xml_cdata
	DisplayName = 'CDATA'
	parent = xml_file, xml_element
	children = 0
	start:tag = '<![CDATA['
	end:tag = ']]>'
	Collapsable = 1
	CollapsedText = '<![CDATA[...]]>'
	txt:colorFG = 0x808080
//:lexClass

lexClass:
	name = xml_pi
	DisplayName = 'Processing instruction'
	parent = xml_file, xml_element
	children = 0
	start:tag = '<?', '<!'
	end:tag = '>'
	txt:colorFG = 0x800080
//:lexClass

lexClass:
	name = xml_end_tag
	DisplayName = 'End tag'
	parent = xml_element
	// no children: the element's end is tested against the block linked last
	children = 0
	start:tag = '</'
	end:tag = '>'
	txt:colorFG = 0x0000FF
//:lexClass

lexClass:
	name = xml_empty_end
	DisplayName = 'Empty element end'
	parent = xml_element
	children = 0
	token:tag = '/>'
	txt:colorFG = 0x0000FF
//:lexClass

lexClass:
	name = xml_tag_name
	DisplayName = 'Tag name'
	parent = xml_element
	children = 0
	previous:tag = '<', '/'
	start:tag = @alpha, '_', ':'
	end:separators = ' ', '\t', '>', '/', @eol
	txt:colorFG = 0xA31515
//:lexClass

lexClass:
	name = xml_attribute_value
	DisplayName = 'Attribute value'
	parent = xml_element
	children = 0
	previous:tag = '='
	previous:tag:separators = ' ', '\t'
	start:tag = '"', '\''
	end:tag = '"', '\''
	txt:colorFG = 0x0000FF
//:lexClass

lexClass:
	name = xml_element
	DisplayName = 'Element'
	parent = xml_file, xml_element
	start:tag = '<'
	// the element's own end tag, or "/>", closes it
	end:class = xml_end_tag, xml_empty_end
	End:Class:Parent = this
	Collapsable = 1
	CollapsedText = '<...>'
//:lexClass
