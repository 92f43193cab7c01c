
////////////////////////////////////////////////////////////////////////////
void WINAPI pr_print_Code_t(pr_Code_t *Code)
{
	printf("Code:%s\n",Code->Code);
}
void WINAPI pr_print_Level_t(pr_Level_t *Level)
{
	printf("Level:%lu\n",Level->Level);
}
void WINAPI pr_print_Ratio_t(pr_Ratio_t *Ratio)
{
	printf("Ratio:%.9g\n",Ratio->Ratio);
}
void WINAPI pr_print_Fine_t(pr_Fine_t *Fine)
{
	printf("Fine:%.9g\n",Fine->Fine);
}
void WINAPI pr_print_Item_t(pr_Item_t *Item)
{
	printf("id:%s\n",Item->id);
	printf("name:%s\n",Item->name);
	printf("count:%ld\n",Item->count);
	pr_print_Level_t(&Item->level);
}
void WINAPI pr_print_ItemArray_t(pr_ItemArray_t *ItemArray)
{
	int i = 0;

	for(i = 0; i < ItemArray->ItemArray_count; i++){
		pr_print_Item_t(&ItemArray->ItemArray[i]);
	}
}
void WINAPI pr_print_NameArray_t(pr_NameArray_t *NameArray)
{
	int i = 0;

	for(i = 0; i < NameArray->NameArray_count; i++){
		printf("NameArray:%s\n",NameArray->NameArray[i]);
	}
}
void WINAPI pr_print_Note_t(pr_Note_t *Note)
{
	printf("lang:%s\n",Note->lang);
	printf("Note:%s\n",Note->Note);
}
void WINAPI pr_print_Token_t(pr_Token_t *Token)
{
	printf("Token:%s\n",Token->Token);
}
void WINAPI pr_print_Placed_t(pr_Placed_t *Placed)
{
	printf("total:%.9g\n",Placed->total);
	pr_print_Note_t(&Placed->note);
}
void WINAPI pr_print_Query_t(pr_Query_t *Query)
{
	pr_print_Item_t(&Query->first);
	pr_print_ItemArray_t(&Query->items);
	pr_print_NameArray_t(&Query->names);
	pr_print_Fine_t(&Query->fine);
	pr_print_Code_t(&Query->code);
	printf("weight:%.17g\n",Query->weight);
}
void WINAPI pr_print_Limit_t(pr_Limit_t *Limit)
{
	printf("Level:%lu\n",Limit->Level);
}
void WINAPI pr_print_PlaceIn_msg_t(pr_PlaceIn_msg_t *PlaceIn)
{
	pr_print_Query_t(&PlaceIn->order);
	pr_print_Code_t(&PlaceIn->code);
}

void WINAPI pr_print_PlaceOut_msg_t(pr_PlaceOut_msg_t *PlaceOut)
{
	printf("return:%d\n",PlaceOut->return_msg);
}

void WINAPI pr_print_FindIn_msg_t(pr_FindIn_msg_t *FindIn)
{
	pr_print_Query_t(&FindIn->Query);
	pr_print_Limit_t(&FindIn->Limit);
}

void WINAPI pr_print_FindOut_msg_t(pr_FindOut_msg_t *FindOut)
{
	pr_print_Placed_t(&FindOut->Placed);
	printf("Token:%s\n",FindOut->Token.Token);
}

void WINAPI pr_print_PingIn_msg_t(pr_PingIn_msg_t *PingIn)
{
	pr_print_Query_t(&PingIn->Query);
}

void WINAPI pr_print_proto_packet_t(pr_proto_packet_t* pk)
{
	printf("msg_type:%u\n",pk->msg_type);

	printf("Token:%s\n",pk->Token);

	if(pk->msg_type == PR_PROTO_PLACE){
		pr_print_PlaceIn_msg_t(&pk->msg.PlaceIn);
	}
	if(pk->msg_type == PR_PROTO_PLACE_RESPONSE){
		pr_print_PlaceOut_msg_t(&pk->msg.PlaceOut);
	}
	if(pk->msg_type == PR_PROTO_NOTIFY){
		pr_print_PlaceIn_msg_t(&pk->msg.PlaceIn);
	}
	printf("Token:%s\n",pk->Token_2);

	if(pk->msg_type == PR_PROTO_QUERY){
		pr_print_FindIn_msg_t(&pk->msg.FindIn);
	}
	if(pk->msg_type == PR_PROTO_LIMIT){
		pr_print_FindIn_msg_t(&pk->msg.FindIn);
	}
	if(pk->msg_type == PR_PROTO_PLACED){
		pr_print_FindOut_msg_t(&pk->msg.FindOut);
	}
	if(pk->msg_type == PR_PROTO_TOKEN){
		pr_print_FindOut_msg_t(&pk->msg.FindOut);
	}

}

