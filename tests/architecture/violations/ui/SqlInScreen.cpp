// A screen that runs its own statement: the layer check must refuse it.
void countRooms()
{
    sql::scalar(db, QStringLiteral("select count(*) from rooms_info"));
}
