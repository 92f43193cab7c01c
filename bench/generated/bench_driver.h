/* What the two drivers of the generated-code benchmark share: the shapes of
 * the payloads, the rate of a step, the peak memory of one, and the lines
 * both print ("<case> <value>"), which GeneratedCodeBench reads. */
#ifndef BENCH_DRIVER_H
#define BENCH_DRIVER_H

#include <malloc.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#define BENCH_RECORDS 10000
#define BENCH_DEPTH 200 /* under libxml2's default nesting limit of 256 */
#define BENCH_ARRAY 10000
#define BENCH_CALL_RECORDS 10 /* per loopback round trip */

typedef int (*bench_step_fn)(void *context);

/* the one case to measure (the driver's argument), or NULL for all */
static const char *bench_only;

static int bench_wanted(const char *name)
{
	return bench_only == NULL || strcmp(bench_only, name) == 0;
}

static double bench_now(void)
{
	struct timespec now;

	clock_gettime(CLOCK_MONOTONIC, &now);
	return (double)now.tv_sec + (double)now.tv_nsec / 1e9;
}

/* seconds that a batch of steps takes; -1 when a step failed */
static double bench_batch(bench_step_fn step, void *context, long steps)
{
	double start = bench_now();
	long i;

	for (i = 0; i < steps; i++) {
		if (step(context) != 0)
			return -1;
	}
	return bench_now() - start;
}

/* steps per second: the fastest of batches of about 20 ms over 0.6 s at least, so that what else
 * the machine runs slows the figure as little as it can; -1 when a step failed */
static double bench_rate(bench_step_fn step, void *context)
{
	double elapsed, began, best = 0;
	long steps = 1, batches = 0;

	while ((elapsed = bench_batch(step, context, steps)) >= 0 && elapsed < 0.02 && steps < (1L << 24))
		steps *= 2;
	began = bench_now();
	while (elapsed >= 0 && (bench_now() - began < 0.6 || batches < 5)) {
		if ((elapsed = bench_batch(step, context, steps)) > 0 && steps / elapsed > best)
			best = steps / elapsed;
		batches++;
	}
	return elapsed < 0 ? -1 : best;
}

static long bench_status_kb(const char *field)
{
	char line[256];
	long value = -1;
	size_t length = strlen(field);
	FILE *status = fopen("/proc/self/status", "r");

	if (status == NULL)
		return -1;
	while (fgets(line, sizeof(line), status) != NULL) {
		if (strncmp(line, field, length) == 0 && line[length] == ':') {
			value = strtol(line + length + 1, NULL, 10);
			break;
		}
	}
	fclose(status);
	return value;
}

/* the resident memory one step added at its peak, in kilobytes: the process's peak is set back to
 * what it holds now (clear_refs 5) before the step; -1 when that failed */
static long bench_peak_kb(bench_step_fn step, void *context)
{
	FILE *refs;
	long before;

	malloc_trim(0);
	refs = fopen("/proc/self/clear_refs", "w");
	if (refs == NULL)
		return -1;
	fputs("5", refs);
	fclose(refs);
	before = bench_status_kb("VmRSS");
	if (step(context) != 0 || before < 0)
		return -1;
	return bench_status_kb("VmHWM") - before;
}

static void bench_print_rate(const char *name, bench_step_fn step, void *context)
{
	if (!bench_wanted(name))
		return;
	printf("%s %.3f\n", name, bench_rate(step, context));
	fflush(stdout);
}

static char bench_name_text[32];

static void bench_print_peak(const char *name, bench_step_fn step, void *context)
{
	if (bench_wanted(name))
		printf("%s %ld\n", name, bench_peak_kb(step, context));
}

/* the text every record's name holds */
static const char *bench_record_name(int i)
{
	snprintf(bench_name_text, sizeof(bench_name_text), "record-%d", i);
	return bench_name_text;
}

#endif
