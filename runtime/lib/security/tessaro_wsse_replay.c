/* tessaro: the nonces a server has seen, each until its time is up, in a
 * table of fixed size: a nonce is looked for, and placed, among a bounded
 * run of places from where its digest points, so that memory and work stay
 * bounded whatever the requests. */
#include "tessaro_wsse.h"
#include "tessaro_hash.h"

#include <stdlib.h>
#include <string.h>

#ifdef _WIN32
#include <windows.h>
typedef CRITICAL_SECTION tessaro_replay_lock_t;
#define tessaro_replay_lock_init(lock)	(InitializeCriticalSection(lock), 0)
#define tessaro_replay_lock(lock)	EnterCriticalSection(lock)
#define tessaro_replay_unlock(lock)	LeaveCriticalSection(lock)
#define tessaro_replay_lock_free(lock)	DeleteCriticalSection(lock)
#else
#include <pthread.h>
typedef pthread_mutex_t tessaro_replay_lock_t;
#define tessaro_replay_lock_init(lock)	pthread_mutex_init(lock, NULL)
#define tessaro_replay_lock(lock)	pthread_mutex_lock(lock)
#define tessaro_replay_unlock(lock)	pthread_mutex_unlock(lock)
#define tessaro_replay_lock_free(lock)	pthread_mutex_destroy(lock)
#endif

/* the places a nonce may take from where its digest points */
#define TESSARO_REPLAY_RUN	32
#define TESSARO_REPLAY_KEY	16

typedef struct tessaro_replay_entry {
	unsigned char key[TESSARO_REPLAY_KEY];	/* the start of the nonce's SHA-256 */
	time_t until;				/* 0: never taken */
} tessaro_replay_entry_t;

struct tessaro_wsse_replay {
	tessaro_replay_lock_t lock;
	size_t capacity;
	tessaro_replay_entry_t *entries;
};

int tessaro_wsse_replay_new(tessaro_wsse_replay_t **replay, int capacity)
{
	tessaro_wsse_replay_t *made = (tessaro_wsse_replay_t *)calloc(1, sizeof(*made));

	*replay = NULL;
	if(made == NULL)
		return -1;
	made->capacity = capacity > 0 ? (size_t)capacity : 65536;
	if((made->entries = (tessaro_replay_entry_t *)calloc(made->capacity, sizeof(*made->entries))) == NULL ||
			tessaro_replay_lock_init(&made->lock) != 0){
		free(made->entries);
		free(made);
		return -1;
	}
	*replay = made;
	return 0;
}

void tessaro_wsse_replay_free(tessaro_wsse_replay_t *replay)
{
	if(replay == NULL)
		return;
	tessaro_replay_lock_free(&replay->lock);
	free(replay->entries);
	free(replay);
}

/* where the run of the key's places begins */
static size_t tessaro_replay_start(const tessaro_wsse_replay_t *replay, const unsigned char *key)
{
	size_t at = 0;
	int i;

	for(i = 0; i < 8; i++)
		at = (at << 8) | key[i];
	return at % replay->capacity;
}

int tessaro_wsse_replay_seen(tessaro_wsse_replay_t *replay, const unsigned char *nonce, size_t length, time_t until, time_t now)
{
	unsigned char digest[TESSARO_HASH_MAX_SIZE];
	tessaro_replay_entry_t *entry, *free_place = NULL;
	size_t start, n, run;
	int result = -1;

	if(tessaro_hash(TESSARO_HASH_SHA256, nonce, length, digest) == 0)
		return -1;
	start = tessaro_replay_start(replay, digest);
	run = replay->capacity < TESSARO_REPLAY_RUN ? replay->capacity : TESSARO_REPLAY_RUN;
	tessaro_replay_lock(&replay->lock);
	for(n = 0; n < run; n++){
		entry = &replay->entries[(start + n) % replay->capacity];
		/* a place whose nonce's time is up is free again; one never taken ends the run */
		if(entry->until != 0 && entry->until >= now && memcmp(entry->key, digest, TESSARO_REPLAY_KEY) == 0){
			result = 1;
			break;
		}
		if(free_place == NULL && entry->until < now)
			free_place = entry;
		if(entry->until == 0)
			break;
	}
	if(result != 1 && free_place != NULL){
		memcpy(free_place->key, digest, TESSARO_REPLAY_KEY);
		free_place->until = until > now ? until : now;
		result = 0;
	}
	tessaro_replay_unlock(&replay->lock);
	return result;
}
