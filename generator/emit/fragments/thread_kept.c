//what a thread keeps between messages, freed when it ends: the envelope reader's parser context and
//input buffer (see mydecode_context_take), and the buffer its last message was written in, while that
//grew to no more than MYKEPT_BLOCK_MOST bytes: a new one for each message is an allocation large
//enough to gather up the small blocks freed before it, which the allocations after it then no
//longer find ready
#define MYKEPT_BLOCK_MOST	65536

typedef struct mykept_t{
	xmlParserCtxtPtr	ctxt;//NULL while it reads
	int	uses;
	xmlParserInputBufferPtr	input;//NULL while it reads
	char	*block;//NULL while a message is written in it
	size_t	block_size;
}mykept_t;

static void mykept_free(mykept_t *kept)
{
	if(kept == NULL)
		return;
	xmlFreeParserCtxt(kept->ctxt);
	xmlFreeParserInputBuffer(kept->input);
	free(kept->block);
	free(kept);
}

#ifdef _WIN32
static INIT_ONCE	mykept_once = INIT_ONCE_STATIC_INIT;
static DWORD	mykept_slot = FLS_OUT_OF_INDEXES;

static void WINAPI mykept_end(void *kept)
{
	mykept_free((mykept_t *)kept);
}

static BOOL CALLBACK mykept_make_slot(PINIT_ONCE once, void *param, void **context)
{
	(void)once; (void)param; (void)context;
	mykept_slot = FlsAlloc(mykept_end);
	return TRUE;
}

static mykept_t *mykept_get(void)
{
	InitOnceExecuteOnce(&mykept_once, mykept_make_slot, NULL, NULL);
	return mykept_slot != FLS_OUT_OF_INDEXES ? (mykept_t *)FlsGetValue(mykept_slot) : NULL;
}

static int mykept_set(mykept_t *kept)
{
	return mykept_slot != FLS_OUT_OF_INDEXES && FlsSetValue(mykept_slot, kept);
}
#else
#include <pthread.h>

static pthread_once_t	mykept_once = PTHREAD_ONCE_INIT;
static pthread_key_t	mykept_slot;
static int	mykept_slot_made;

static void mykept_end(void *kept)
{
	mykept_free((mykept_t *)kept);
}

static void mykept_make_slot(void)
{
	mykept_slot_made = pthread_key_create(&mykept_slot, mykept_end) == 0;
}

static mykept_t *mykept_get(void)
{
	pthread_once(&mykept_once, mykept_make_slot);
	return mykept_slot_made ? (mykept_t *)pthread_getspecific(mykept_slot) : NULL;
}

static int mykept_set(mykept_t *kept)
{
	return mykept_slot_made && pthread_setspecific(mykept_slot, kept) == 0;
}
#endif

//the thread's keeping, made at its first use; NULL when there can be none
static mykept_t *mykept(void)
{
	mykept_t	*kept = mykept_get();

	if(kept == NULL && (kept = (mykept_t *)calloc(1, sizeof(*kept))) != NULL && !mykept_set(kept)){
		free(kept);
		kept = NULL;
	}
	return kept;
}

//the thread's kept message buffer and its size, taken (a message written within another's writing
//gets none); NULL when it keeps none
static char *mykept_block_take(size_t *size)
{
	mykept_t	*kept = mykept();
	char	*block = kept != NULL ? kept->block : NULL;

	if(block != NULL){
		*size = kept->block_size;
		kept->block = NULL;
	}
	return block;
}

//a message's buffer of size bytes, its message gone: kept for the thread's next one where
//MYKEPT_BLOCK_MOST allows it and the thread keeps none, else freed
static void mykept_block_give(char *block, size_t size)
{
	mykept_t	*kept = mykept_get();

	if(kept != NULL && kept->block == NULL && size <= MYKEPT_BLOCK_MOST){
		kept->block = block;
		kept->block_size = size;
		return;
	}
	free(block);
}

