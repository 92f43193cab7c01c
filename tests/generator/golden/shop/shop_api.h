#ifndef SHOP_API_H
#define SHOP_API_H

#define WINAPI 
#define _declspec(dllexport) 

#ifdef _WIN32
#include <winsock2.h>
#endif

#include <assert.h>
#include <errno.h>

#include "tessaro_type.h"

#ifdef __cplusplus
extern "C"{
#endif


//the default string length is 128,you can modify it as your requirement.
#define SHOP_MAX_ORDERID_LEN	128
#define SHOP_MAX_SESSION_LEN	128
#define SHOP_MAX_ID_ATTRIBUTE_LEN	128
#define SHOP_MAX_NOTE_LEN	128
#define SHOP_MAX_SKU_LEN	12


#define SHOP_MAX_USER_LEN	32
#define SHOP_MAX_USER_PWD_LEN	32
#define SHOP_MAX_ARRAY_NUM	5
#define SHOP_MAX_IP_LEN	32
#define SHOP_MAX_URL_LEN	64
#define SHOP_MAX_AUTHINFO_LEN	512
#define SHOP_MAX_MESSAGE_LEN	120000
#define SHOP_MAX_HTTP_PART_LEN	1024
#define SHOP_BEGINXMLFLAG	"<?xml"
#define SHOP_ENDXMLFLAG	"Envelope>"
#define SHOP_HTTPENDFLAG	"\r\n\r\n"

#define SHOP_MAX_HTTP_HEADER_NAME_LEN	24
#define SHOP_MAX_HTTP_HEADER_VALUE_LEN	128
#define SHOP_MAX_HTTP_HEADER_NUM	5
#define SHOP_MAX_BOUNDARY_LEN	240
#define SHOP_MAX_SOAP_FAULT_FAULTCODE_LEN	240
#define SHOP_MAX_SOAP_FAULT_FAULTSTRING_LEN	240
#define SHOP_MAX_SOAP_FAULT_DETAIL_LEN	240
#define SHOP_MAX_HTTP_MSG_BUFFER_LEN	1024
#define SHOP_MAX_HTTP_ERR_CODE_STRING_LEN	32


////////////////////////////////////////////////////////////////////////////
#define SHOP_PLACEORDER_TAG	"placeOrder"
#define SHOP_ORDERID_TAG	"orderId"
#define SHOP_COUNT_TAG	"Count"
#define SHOP_COUNT_RESPONSE_TAG	"CountResponse"
#define SHOP_SOAP_FAULT_TAG	"Fault"

enum{
	SHOP_PROTO_HTTP	=0x1,
	SHOP_PROTO_SOAP_FAULT	=0x2,
	SHOP_PROTO_PLACEORDER	= 0x3,
	SHOP_PROTO_ORDERID	= 0x4,
	SHOP_PROTO_COUNT	= 0x5,
	SHOP_PROTO_COUNT_RESPONSE	= 0x6,
};


////////////////////////////////////////////////////////////////////////////
typedef struct shop_Sku_t{
	char	Sku[SHOP_MAX_SKU_LEN+1];
}shop_Sku_t;

typedef struct shop_Line_t{
	shop_Sku_t	sku;
	double	price;
}shop_Line_t;

typedef struct shop_LineArray_t{
	shop_Line_t	LineArray[SHOP_MAX_ARRAY_NUM];
	int	LineArray_count;
}shop_LineArray_t;

typedef struct shop_placeOrder_t{
	char	id[SHOP_MAX_ID_ATTRIBUTE_LEN+1];
	int	qty;
	char	note[SHOP_MAX_NOTE_LEN+1];
	shop_LineArray_t	lines;
}shop_placeOrder_t,shop_Order_t;

typedef struct shop_orderId_t{
	char	orderId[SHOP_MAX_ORDERID_LEN+1];
}shop_orderId_t;

typedef struct shop_session_t{
	char	session[SHOP_MAX_SESSION_LEN+1];
}shop_session_t;

typedef struct shop_PlaceIn_msg_t{
	shop_placeOrder_t	placeOrder;
}shop_PlaceIn_msg_t;

typedef struct shop_PlaceOut_msg_t{
	shop_orderId_t	orderId;
}shop_PlaceOut_msg_t;

typedef struct shop_CountIn_msg_t{
	shop_Sku_t	sku;
}shop_CountIn_msg_t;

typedef struct shop_CountOut_msg_t{
	int	return_msg;
}shop_CountOut_msg_t;

typedef struct shop_soap_fault_msg_t{
	char faultcode[SHOP_MAX_SOAP_FAULT_FAULTCODE_LEN+1];
	char faultstring[SHOP_MAX_SOAP_FAULT_FAULTSTRING_LEN+1];
	char detail[SHOP_MAX_SOAP_FAULT_DETAIL_LEN+1];
}shop_soap_fault_msg_t;

typedef struct shop_http_header_t{
	char name[SHOP_MAX_HTTP_HEADER_NAME_LEN+1];
	char value[SHOP_MAX_HTTP_HEADER_VALUE_LEN+1];
}shop_http_header_t;

typedef struct shop_http_msg_t{
	int	err_code;
	char err_code_string[SHOP_MAX_HTTP_ERR_CODE_STRING_LEN+1];
	char buffer[SHOP_MAX_HTTP_MSG_BUFFER_LEN+1];
}shop_http_msg_t;

typedef struct shop_proto_packet_t{
	shop_http_header_t	http_headers[SHOP_MAX_HTTP_HEADER_NUM];
	int http_headers_count;

	//boundary_part between http header and soap message if there is
	char	boundary_part[SHOP_MAX_BOUNDARY_LEN+1];

	char	session[SHOP_MAX_SESSION_LEN+1];

	unsigned int	msg_type;
	union{
		shop_http_msg_t	http_msg;
		shop_soap_fault_msg_t	soap_fault;
		shop_PlaceIn_msg_t	PlaceIn;
		shop_PlaceOut_msg_t	PlaceOut;
		shop_CountIn_msg_t	CountIn;
		shop_CountOut_msg_t	CountOut;
	}msg;
	int attachment_length;
	char *attachment;
}shop_proto_packet_t;



////////////////////////////////////////////////////////////////////////////
typedef struct shop_proto_trans_t{
	tessaro_socket_t socket;
	char dest_ip[256];//destination ip
	tessaro_port_t dest_port;//destination port
	char url[256];//url
}shop_proto_trans_t;



//timeout:waitting seconds when sending or reading message
_declspec(dllexport) int WINAPI shop_proto_readpacket(shop_proto_trans_t *trans, shop_proto_packet_t *pk, int timeout);
_declspec(dllexport) int WINAPI shop_proto_sendpacket(shop_proto_trans_t *trans, shop_proto_packet_t *pk, int timeout);
_declspec(dllexport) int WINAPI shop_connect_server(shop_proto_trans_t *trans, char *ip, char *url, tessaro_port_t port);
_declspec(dllexport) int WINAPI shop_set_attachment(shop_proto_packet_t *pk, char *attachment, unsigned int attachment_length);
_declspec(dllexport) int WINAPI shop_add_http_header(shop_proto_packet_t *pk, char *name, char *value);
_declspec(dllexport) void WINAPI shop_print_proto_packet_t(shop_proto_packet_t* pk);



#ifdef __cplusplus
}
#endif

#endif


